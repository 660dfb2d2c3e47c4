#pragma once

#include "CString.h"

// The running executable's full path, however long.
CString ExecutablePath();
