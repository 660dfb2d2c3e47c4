#pragma once

#include "platform/RegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

// The vendor key of the program's profile, and below it the tests' own.
inline const std::wstring kVendorKey = L"Software\\Vantrel-App";
inline const std::wstring kTestsKey = kVendorKey + L"\\QuorlinTest";

inline void RemoveKeyTree(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

// Removes a registry key with everything below it when the test starts and when it ends; in between, the test
// writes and reads its values.
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
    // Any data of any type, as it is given: the registry's own checks of a value are not made here.
    void SetValue(const wchar_t* name, DWORD type, const void* data, std::size_t bytes) const
    {
        RegistryKey key;
        if (key.Create(m_root, m_path.c_str(), KEY_WRITE) == ERROR_SUCCESS)
            RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data),
                           static_cast<DWORD>(bytes));
    }
    // The REG_SZ value's text, or nothing when the value does not exist.
    bool ReadString(const wchar_t* name, std::wstring& text) const
    {
        RegistryKey key;
        CString value;
        if (key.Open(m_root, m_path.c_str(), KEY_READ) != ERROR_SUCCESS ||
            key.QueryString(name, value) != ERROR_SUCCESS)
            return false;
        text = value.Str();
        return true;
    }

  private:
    void Remove() const { RemoveKeyTree(m_root, m_path); }

    HKEY m_root;
    std::wstring m_path;
};

// A key of the machine's own, with everything below it, taken away for a test and put back as it was when the
// test ends, over whatever the test left there. The copy waits under the current user's tests key, so that
// one left by a test that did not end (a crash, a time-out) is put back first.
class KeySetAside
{
  public:
    KeySetAside(HKEY root, std::wstring path, const std::wstring& copyName)
        : m_root(root), m_path(std::move(path)), m_copy(kTestsKey + L"\\" + copyName)
    {
        PutBack();
        RegistryKey original;
        if (original.Open(m_root, m_path.c_str(), KEY_READ) != ERROR_SUCCESS)
            return;
        RegistryKey copy;
        if (copy.Create(HKEY_CURRENT_USER, m_copy.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS ||
            RegCopyTreeW(original.Get(), nullptr, copy.Get()) != ERROR_SUCCESS)
            throw std::runtime_error("a key of the machine's could not be kept before the test took it away");
        RemoveKeyTree(m_root, m_path);
    }
    KeySetAside(const KeySetAside&) = delete;
    KeySetAside& operator=(const KeySetAside&) = delete;
    ~KeySetAside()
    {
        RemoveKeyTree(m_root, m_path);
        PutBack();
    }

  private:
    void PutBack() const
    {
        RegistryKey copy;
        if (copy.Open(HKEY_CURRENT_USER, m_copy.c_str(), KEY_READ) != ERROR_SUCCESS)
            return;
        RemoveKeyTree(m_root, m_path);
        RegistryKey original;
        if (original.Create(m_root, m_path.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS &&
            RegCopyTreeW(copy.Get(), nullptr, original.Get()) == ERROR_SUCCESS)
        {
            RemoveKeyTree(HKEY_CURRENT_USER, m_copy);
            RegDeleteKeyW(HKEY_CURRENT_USER, kTestsKey.c_str());
        }
    }

    HKEY m_root;
    std::wstring m_path;
    std::wstring m_copy;
};

// For as long as it lives, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process are two empty keys of the
// running test's own, under the real HKEY_CURRENT_USER\Software\Vantrel-App\QuorlinTest\<test>, which are
// removed at the end. Whatever the code under test reads or writes there, the user's and the machine's own
// registry is neither read nor changed; programs that the test starts see the real registry.
class RedirectedRegistry
{
  public:
    RedirectedRegistry()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(test->test_suite_name()) + "." + test->name();
        m_path = kTestsKey + L"\\" + std::wstring(name.begin(), name.end());
        m_createdVendorKey = !KeyExists(kVendorKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        // Both keys are made before either redirection, which would move where the second one is made.
        RegistryKey user;
        RegistryKey machine;
        // The system keeps a reference of its own to each key it redirects to. A test must not go on against
        // the real registry: the fixture's construction ends here, before any scratch key is touched.
        if (user.Create(HKEY_CURRENT_USER, (m_path + L"\\HKEY_CURRENT_USER").c_str(), KEY_ALL_ACCESS) !=
                ERROR_SUCCESS ||
            machine.Create(HKEY_CURRENT_USER, (m_path + L"\\HKEY_LOCAL_MACHINE").c_str(), KEY_ALL_ACCESS) !=
                ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_CURRENT_USER, user.Get()) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine.Get()) != ERROR_SUCCESS)
        {
            RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
            RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
            throw std::runtime_error("the registry could not be redirected to keys of the test's own");
        }
    }
    RedirectedRegistry(const RedirectedRegistry&) = delete;
    RedirectedRegistry& operator=(const RedirectedRegistry&) = delete;
    ~RedirectedRegistry()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
        // Each only when nothing else is left in it.
        RegDeleteKeyW(HKEY_CURRENT_USER, kTestsKey.c_str());
        if (m_createdVendorKey)
            RegDeleteKeyW(HKEY_CURRENT_USER, kVendorKey.c_str());
    }

  private:
    static bool KeyExists(const std::wstring& path)
    {
        RegistryKey key;
        return key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ) == ERROR_SUCCESS;
    }

    std::wstring m_path;
    bool m_createdVendorKey = false;
};
