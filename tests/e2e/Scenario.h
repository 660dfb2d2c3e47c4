#pragma once

// The fixture of the scenarios that start the real Quorlin.exe, and what they share.

#include "Driver.h"
#include "PrintCString.h"
#include "toolpath/ToolDiscovery.h"
#include "ui/resource.h"
#include "windows/DisposableMachine.h"
#include "windows/Eventually.h"
#include "windows/RegistryScratch.h"
#include "windows/TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

inline const std::wstring kProfile = L"Software\\Vantrel-App\\Quorlin";
inline const std::wstring kSettings = kProfile + L"\\Settings";

inline std::filesystem::path Program()
{
    return ExecutableDirectory() / L"Quorlin.exe";
}

inline std::wstring Quoted(const std::filesystem::path& path)
{
    return L"\"" + path.wstring() + L"\"";
}

// The text of an environment variable, empty when it is not set.
inline std::wstring EnvironmentValue(const wchar_t* name)
{
    std::wstring value(32768, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

// Every scenario starts from an empty profile and a machine without the Windows SDK's registration: it
// removes the program's real settings, takes the machine's SDK key away in both views of the registry until
// it ends, and Quorlin.exe registers itself for ".ksig" files at every start. So the scenarios run only on a
// machine declared disposable.
class Scenario : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!IsDisposableMachine())
            GTEST_SKIP() << NotDisposable(
                "the user's Quorlin settings and .ksig association and the machine's "
                "Windows SDK registration");
        m_profile.emplace(HKEY_CURRENT_USER, kProfile);
        m_sdk.emplace(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots",
                      L"Windows Kits Installed Roots");
        // Where 64-bit programs see what the SDK's 32-bit installer wrote.
        m_sdk32.emplace(HKEY_LOCAL_MACHINE,
                        L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows Kits\\Installed Roots",
                        L"Windows Kits Installed Roots, 32-bit view");
    }

    // For a scenario in which Quorlin is to find the SDK by its registration, as on any developer's machine.
    void WithTheMachinesSdk()
    {
        m_sdk.reset();
        m_sdk32.reset();
    }

    // For a scenario that needs the machine without the SDK's signtool.exe at its default place: a
    // developer's machine, or a hosted runner, has it there. It is put back when the scenario ends.
    void WithoutTheSdksSigntool() { m_sdkTool.emplace(kDefaultSigningToolPath); }

    static void StoreToolPath(const std::wstring& path)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettings.c_str(), L"SigntoolPath", REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
    std::filesystem::path ListFile(const std::wstring& name, const std::string& bytes) const
    {
        WriteBytes(m_folder / name, bytes);
        return m_folder / name;
    }

    // Signs the listed files with a start of Quorlin.exe, in the scenario's folder, that finds the given tool
    // by itself where the Windows SDK installs it; the log at the end, which is to finish within the time
    // given.
    std::wstring SignWithTheFoundTool(const std::wstring& listText,
                                      const std::filesystem::path& tool = kDefaultSigningToolPath,
                                      DWORD finishWithin = 60000)
    {
        QuorlinProcess quorlin(Program(), Quoted(ListFile(L"release.ksig", AnsiBytes(listText))),
                               m_folder.Path());
        if (!quorlin.Window())
            return L"Quorlin.exe did not open its window";
        std::error_code unknown;
        EXPECT_TRUE(std::filesystem::equivalent(quorlin.Text(IDC_TOOL_PATH), tool, unknown))
            << "Quorlin found " << ::testing::PrintToString(CString(quorlin.Text(IDC_TOOL_PATH)));
        quorlin.Click(IDOK);
        std::wstring log;
        Eventually([&] { return (log = quorlin.Text(IDC_LOG)).ends_with(L"Finished!"); }, finishWithin);
        return log;
    }

    std::optional<RegistryScratch> m_profile;
    std::optional<KeySetAside> m_sdk;
    std::optional<KeySetAside> m_sdk32;
    std::optional<FileSetAside> m_sdkTool;
    TempDirectory m_folder;
};
