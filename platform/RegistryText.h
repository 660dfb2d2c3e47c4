#pragma once

#include "CString.h"

#include <cstddef>

// The text of registry string data as a query returned it: up to the first NUL, and never past the bytes the
// query reported, so that a value stored without its terminator is still bounded.
CString RegistryText(const char16_t* data, std::size_t dataBytes);
