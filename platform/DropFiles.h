#pragma once

#include "CString.h"
#include "UniqueHandle.h"

#include <shellapi.h>

#include <vector>

// A drop from the shell, released with DragFinish exactly once.
using UniqueDrop = UniqueResource<HDROP, &::DragFinish>;

// The dropped names in drop order, each whole whatever its length; a name that cannot be read is skipped.
std::vector<CString> DroppedFileNames(HDROP drop);
