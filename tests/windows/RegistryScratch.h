#pragma once

#include <windows.h>

#include <string>

// Removes a registry key with everything below it when the test ends, and before it starts.
class RegistryScratch
{
  public:
    RegistryScratch(HKEY root, std::wstring path) : m_root(root), m_path(std::move(path)) { Remove(); }
    RegistryScratch(const RegistryScratch&) = delete;
    RegistryScratch& operator=(const RegistryScratch&) = delete;
    ~RegistryScratch() { Remove(); }

    void SetString(const wchar_t* name, const std::wstring& data, bool withTerminator = true) const
    {
        SetValue(name, REG_SZ, data.c_str(), (data.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    }
    void SetValue(const wchar_t* name, DWORD type, const void* data, std::size_t bytes) const
    {
        HKEY key = nullptr;
        RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
        RegCloseKey(key);
    }
    // The REG_SZ value's text, or nothing when the value does not exist.
    bool ReadString(const wchar_t* name, std::wstring& text) const
    {
        wchar_t buffer[1024] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        if (RegGetValueW(m_root, m_path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
            ERROR_SUCCESS)
            return false;
        text = buffer;
        return true;
    }

  private:
    void Remove() const
    {
        RegDeleteTreeW(m_root, m_path.c_str());
        RegDeleteKeyW(m_root, m_path.c_str());
    }

    HKEY m_root;
    std::wstring m_path;
};
