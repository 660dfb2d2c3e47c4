#include "RegistryKey.h"

#include "RegistryText.h"

#include <vector>

LSTATUS RegistryKey::Open(HKEY parent, const wchar_t* path, REGSAM access)
{
    return RegOpenKeyExW(parent, path, 0, access, m_key.Put());
}

LSTATUS RegistryKey::Create(HKEY parent, const wchar_t* path)
{
    return RegCreateKeyW(parent, path, m_key.Put());
}

LSTATUS RegistryKey::Create(HKEY parent, const wchar_t* path, REGSAM access)
{
    return RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, m_key.Put(),
                           nullptr);
}

LSTATUS RegistryKey::QueryString(const wchar_t* name, CString& text, DWORD bufferBytes) const
{
    std::vector<char16_t> data((bufferBytes + 1) / 2);
    DWORD size = bufferBytes;
    const LSTATUS status =
        RegQueryValueExW(m_key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_SUCCESS)
        text = RegistryText(data.data(), size);
    return status;
}

LSTATUS RegistryKey::QueryString(const wchar_t* name, CString& text) const
{
    // Another program may change the value between two reads: it is read again, into a buffer of the size
    // the registry last asked for, until the whole value fits.
    std::vector<char16_t> data(128);
    for (;;)
    {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size() * sizeof(char16_t));
        const LSTATUS status =
            RegQueryValueExW(m_key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA)
        {
            data.resize(size / sizeof(char16_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return status;
        if (type != REG_SZ)
            return ERROR_UNSUPPORTED_TYPE;
        text = RegistryText(data.data(), size);
        return ERROR_SUCCESS;
    }
}

LSTATUS RegistryKey::SetString(const wchar_t* name, const CString& text)
{
    const DWORD bytes = static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_key.Get(), name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(static_cast<const wchar_t*>(text)), bytes);
}

LSTATUS RegistryKey::SetDefaultValue(const CString& text)
{
    // RegSetValueW takes the size from the text itself.
    return RegSetValueW(m_key.Get(), nullptr, REG_SZ, text,
                        static_cast<DWORD>(text.GetLength() * sizeof(wchar_t)));
}
