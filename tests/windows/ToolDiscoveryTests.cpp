#include "DisposableMachine.h"
#include "PrintCString.h"
#include "RegistryScratch.h"
#include "TestFiles.h"
#include "platform/WinApp.h"
#include "toolpath/SystemToolLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

namespace fs = std::filesystem;

namespace
{
const std::wstring kSdkKey = L"SOFTWARE\\Microsoft\\Windows Kits\\Installed Roots";

// Discovery against the registry and the file system. The profile and the SDK's registration are keys of the
// test's own; the SDK's default signtool.exe is the machine's own path, so only on a disposable machine does
// a test that needs it in place create it, and a test that needs it absent move it aside for its run.
class ToolDiscoveryOnWindows : public ::testing::Test
{
  protected:
    ToolDiscoveryOnWindows()
        : m_profile(HKEY_CURRENT_USER,
                    L"Software\\Vantrel-App\\" + AfxGetApp()->AppName().Str() + L"\\Settings"),
          m_sdk(HKEY_LOCAL_MACHINE, kSdkKey)
    {
        AfxGetApp()->SetRegistryKey(L"Vantrel-App");
    }
    ~ToolDiscoveryOnWindows() override
    {
        if (m_createdDefault)
            fs::remove(kDefaultSigningToolPath);
    }

    static bool DefaultToolExists() { return fs::exists(kDefaultSigningToolPath); }
    // Whether the default signtool.exe is in place: it was there already, or this disposable machine gets one
    // for the test.
    bool PlaceDefaultTool()
    {
        if (DefaultToolExists())
            return true;
        if (!IsDisposableMachine())
            return false;
        fs::create_directories(fs::path(kDefaultSigningToolPath).parent_path());
        WriteBytes(kDefaultSigningToolPath, "MZ");
        m_createdDefault = true;
        return true;
    }
    // Whether the default signtool.exe is absent: it was not there, or this disposable machine's is moved
    // aside for the test.
    bool RemoveDefaultTool()
    {
        if (!DefaultToolExists())
            return true;
        if (!IsDisposableMachine())
            return false;
        m_defaultSetAside.emplace(kDefaultSigningToolPath);
        return true;
    }
    std::optional<std::wstring> Stored() const
    {
        std::wstring text;
        return m_profile.ReadString(L"SigntoolPath", text) ? std::optional(text) : std::nullopt;
    }

    RedirectedRegistry m_registry;
    RegistryScratch m_profile;
    RegistryScratch m_sdk;
    TempDirectory m_folder;
    SystemToolLocation m_system;

  private:
    bool m_createdDefault = false;
    std::optional<FileSetAside> m_defaultSetAside;
};

TEST_F(ToolDiscoveryOnWindows, AStoredPathIsUsedAndWrittenBackUnchecked)
{
    m_profile.SetString(L"SigntoolPath", L"E:\\gone\\signtool.exe");
    EXPECT_EQ(FindSigningTool(m_system), CString(L"E:\\gone\\signtool.exe"));
    EXPECT_EQ(Stored(), L"E:\\gone\\signtool.exe");
}

TEST_F(ToolDiscoveryOnWindows, AStoredNotFoundMarkerGivesNothingAndStays)
{
    if (!PlaceDefaultTool())
        GTEST_SKIP() << NotDisposable("the SDK's default signtool.exe");
    m_profile.SetString(L"SigntoolPath", L"signtool.exe not found");
    EXPECT_EQ(FindSigningTool(m_system), CString(L""));
    EXPECT_EQ(Stored(), L"signtool.exe not found");
}

TEST_F(ToolDiscoveryOnWindows, TheDefaultLocationIsFoundStoredAndUsedNextTime)
{
    if (!PlaceDefaultTool())
        GTEST_SKIP() << NotDisposable("the SDK's default signtool.exe");
    EXPECT_EQ(FindSigningTool(m_system), CString(kDefaultSigningToolPath));
    EXPECT_EQ(Stored(), kDefaultSigningToolPath);
}

TEST_F(ToolDiscoveryOnWindows, TheSdkRootFromTheMachineRegistryLeadsToTheTool)
{
    if (!RemoveDefaultTool())
        GTEST_SKIP() << NotDisposable("the SDK's default signtool.exe");
    const fs::path root = m_folder / L"Windows Kits\\10";
    fs::create_directories(root / L"bin\\x64");
    WriteBytes(root / L"bin\\x64\\signtool.exe", "MZ");

    m_sdk.SetString(L"KitsRoot10", root.wstring() + L"\\");
    const CString expected = CString(root.wstring() + L"\\\\bin\\x64\\signtool.exe");
    EXPECT_EQ(FindSigningTool(m_system), expected) << "a root that ends in a backslash keeps it";
    EXPECT_EQ(Stored(), expected.Str());
}

// As Windows Server 2025 installs it: only a versioned SDK, beside a newer version that lacks the tool.
TEST_F(ToolDiscoveryOnWindows, AVersionedSdkLeadsToTheToolOfItsNewestVersionThatHasOne)
{
    if (!RemoveDefaultTool())
        GTEST_SKIP() << NotDisposable("the SDK's default signtool.exe");
    const fs::path root = m_folder / L"Windows Kits\\10";
    for (const wchar_t* version : {L"10.0.9600.0", L"10.0.26100.0"})
    {
        fs::create_directories(root / L"bin" / version / L"x64");
        WriteBytes(root / L"bin" / version / L"x64\\signtool.exe", "MZ");
    }
    fs::create_directories(root / L"bin\\10.0.99999.0\\x64");
    m_sdk.SetString(L"KitsRoot10", root.wstring());
    EXPECT_EQ(FindSigningTool(m_system), CString((root / L"bin\\10.0.26100.0\\x64\\signtool.exe").wstring()));
}

TEST_F(ToolDiscoveryOnWindows, MissesLeaveThePathEmptyAndTheProfileUnwritten)
{
    if (!RemoveDefaultTool())
        GTEST_SKIP() << NotDisposable("the SDK's default signtool.exe");
    EXPECT_EQ(FindSigningTool(m_system), CString(L"")) << "no SDK key";
    m_sdk.SetString(L"KitsRoot10", (m_folder / L"no kit here").wstring());
    EXPECT_EQ(FindSigningTool(m_system), CString(L"")) << "the root has no tool";
    EXPECT_EQ(Stored(), std::nullopt);
}

TEST_F(ToolDiscoveryOnWindows, TheSdkRootIsReadIntoMaxPathCharacters)
{
    const std::wstring root259 = L"C:\\" + std::wstring(256, L'k');
    const DWORD number = 0x00410042;
    const struct
    {
        const char* name;
        std::function<void()> store;
        std::optional<CString> root;
    } cases[] = {
        {"259 characters and the terminator fit", [&] { m_sdk.SetString(L"KitsRoot10", root259); },
         CString(root259)},
        {"260 characters do not", [&] { m_sdk.SetString(L"KitsRoot10", root259 + L"k"); }, std::nullopt},
        {"no terminator: bounded by the data size",
         [&] { m_sdk.SetString(L"KitsRoot10", L"C:\\Kits", false); }, CString(L"C:\\Kits")},
        {"another type is read as text", [&] { m_sdk.SetValue(L"KitsRoot10", REG_DWORD, &number, 4); },
         CString(L"BA")},
        {"no value", [&] { m_sdk.SetValue(L"Other", REG_SZ, L"", 2); }, std::nullopt},
    };
    for (const auto& c : cases)
    {
        RegistryScratch fresh(HKEY_LOCAL_MACHINE, kSdkKey);
        c.store();
        EXPECT_EQ(m_system.ReadSdkRoot(RegistryView::Bits64), c.root) << c.name;
    }
}
} // namespace
