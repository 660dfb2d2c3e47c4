#pragma once

#include "CString.h"

// The application's name: the running executable's file name without its extension ("Quorlin").
CString AfxGetAppName();

// The running executable's full path, however long.
CString ExecutablePath();
