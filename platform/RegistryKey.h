#pragma once

#include "CString.h"
#include "UniqueHandle.h"

#include <windows.h>

// An open registry key, closed when the object goes. Every call answers as the registry does: ERROR_SUCCESS,
// or the system's error code.
class RegistryKey
{
  public:
    // An existing key, opened with the given rights.
    LSTATUS Open(HKEY parent, const wchar_t* path, REGSAM access);
    // The key, made together with any parent that is missing, with every right the system grants.
    LSTATUS Create(HKEY parent, const wchar_t* path);
    // The same, with exactly the rights asked for.
    LSTATUS Create(HKEY parent, const wchar_t* path, REGSAM access);

    // A value's text read into a buffer of bufferBytes, whatever type the value has; data larger than the
    // buffer fails as the system fails it.
    LSTATUS QueryString(const wchar_t* name, CString& text, DWORD bufferBytes) const;
    // A REG_SZ value's text, however long; a value of another type fails with ERROR_UNSUPPORTED_TYPE.
    LSTATUS QueryString(const wchar_t* name, CString& text) const;
    // Stores text as a REG_SZ value with its terminator.
    LSTATUS SetString(const wchar_t* name, const CString& text);
    // Sets the key's default value to text, as REG_SZ.
    LSTATUS SetDefaultValue(const CString& text);

    HKEY Get() const { return m_key.Get(); }

  private:
    UniqueHkey m_key;
};
