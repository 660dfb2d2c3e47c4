#pragma once

#include "CString.h"

// The extended-length form (\\?\C:\..., \\?\UNC\server\share\...) of a full path, which Windows takes past
// MAX_PATH and without any change of its own; a path in that form already, or one that is not whole, is given
// back as it is.
CString ExtendedLengthPath(const CString& fullPath);

#ifdef _WIN32
// The path made whole against the current folder, as Windows resolves it; the path itself when that fails.
CString FullPath(const CString& path);
#endif
