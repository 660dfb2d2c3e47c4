// Quorlin.exe used from outside, the way a person uses it: each scenario starts the real program, reads and
// operates its windows, answers its message boxes and file dialogs, and checks the registry and files after.

#include "Driver.h"
#include "PrintCString.h"
#include "Scenario.h"
#include "platform/UniqueHandle.h"
#include "ui/resource.h"
#include "windows/Eventually.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// Every key and value below a registry key, in one text: two snapshots compare equal when nothing changed.
void Snapshot(HKEY key, const std::wstring& path, std::wstring& out)
{
    out += L"[" + path + L"]\n";
    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status =
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA)
        {
            data.resize(size);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        out += std::wstring(name, nameLength) + L"=" + std::to_wstring(type) + L":" +
               std::wstring(reinterpret_cast<const wchar_t*>(data.data()), size / 2) + L"\n";
    }
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY opened = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &opened) != ERROR_SUCCESS)
            continue;
        const UniqueHkey child(opened);
        Snapshot(child.Get(), path + L"\\" + name, out);
    }
}

// The machine's registry and the default user's: everything outside HKEY_CURRENT_USER that Quorlin could
// write to.
std::wstring RegistryOutsideCurrentUser()
{
    std::wstring text;
    Snapshot(HKEY_LOCAL_MACHINE, L"HKLM", text);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_USERS, L".DEFAULT", 0, KEY_READ, &opened) == ERROR_SUCCESS)
    {
        const UniqueHkey defaultUser(opened);
        Snapshot(defaultUser.Get(), L"HKU\\.DEFAULT", text);
    }
    return text;
}

TEST_F(Scenario, FirstStartWithAnEmptyProfileAndNoSdkHasNoToolAndSignSaysSo)
{
    if (fs::exists(kDefaultSigningToolPath))
        GTEST_SKIP() << "this machine has the Windows SDK's signtool.exe at its default place, which the "
                        "scenario needs absent";
    QuorlinProcess quorlin(Program(), L"");
    ASSERT_TRUE(quorlin.Window());
    EXPECT_EQ(quorlin.Text(IDC_TOOL_PATH), L"");

    // The user is at work in another program when the box comes up.
    const UniqueWindow elsewhere = ShowForegroundWindow();
    ASSERT_EQ(GetForegroundWindow(), elsewhere.Get());
    quorlin.Command(IDOK);
    const std::optional<SeenWindow> box = quorlin.WaitForWindow(L"Quorlin");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Error - no SignTool set");
    EXPECT_EQ(box->icon, SeenWindow::Icon::None);
    EXPECT_EQ(GetWindow(box->window, GW_OWNER), quorlin.Window()) << "the box belongs to the main dialog";
    EXPECT_FALSE(IsWindowEnabled(quorlin.Window())) << "and the dialog waits for it";
    ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));
    EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(quorlin.Window()) != FALSE; }));
    EXPECT_EQ(quorlin.Text(IDC_LOG), L"");
    EXPECT_EQ(ReadUserString(kSettings, L"SigntoolPath"), std::nullopt);
}

TEST_F(Scenario, TheToolPickedWithTheOpenDialogIsRememberedForTheNextStart)
{
    StandinTool tool;
    {
        QuorlinProcess quorlin(Program(), L"");
        ASSERT_TRUE(quorlin.Window());
        quorlin.Click(IDC_BROWSE);
        const std::optional<SeenWindow> dialog = quorlin.WaitForWindow(L"");
        ASSERT_TRUE(dialog) << "no open dialog appeared";
        QuorlinProcess::ChooseFile(*dialog, tool.Path().Str());
        EXPECT_TRUE(Eventually([&] { return quorlin.Text(IDC_TOOL_PATH) == tool.Path().Str(); }));
        EXPECT_EQ(ReadUserString(kSettings, L"SigntoolPath"), tool.Path().Str());
    }
    QuorlinProcess second(Program(), L"");
    ASSERT_TRUE(second.Window());
    EXPECT_EQ(second.Text(IDC_TOOL_PATH), tool.Path().Str());
}

TEST_F(Scenario, TheToolStartsInTheProgramsOwnFolderAfterFileDialogsBrowsedElsewhere)
{
    StandinTool tool;
    const TempDirectory startFolder;
    const CString where = tool.Script(L"where.exe", "cwd\n");
    const fs::path list = ListFile(L"where.ksig", std::string(where.Str().begin(), where.Str().end()));
    QuorlinProcess quorlin(Program(), Quoted(list), startFolder.Path());
    ASSERT_TRUE(quorlin.Window());

    fs::create_directories(m_folder / L"lists");
    quorlin.Click(IDC_SAVE);
    std::optional<SeenWindow> dialog = quorlin.WaitForWindow(L"");
    ASSERT_TRUE(dialog) << "no save dialog appeared";
    QuorlinProcess::ChooseFile(*dialog, (m_folder / L"lists" / L"saved.ksig").wstring());
    const std::optional<SeenWindow> box = quorlin.WaitForWindow(L"Quorlin");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"File saved successfully!");
    ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));

    quorlin.Click(IDC_BROWSE);
    dialog = quorlin.WaitForWindow(L"");
    ASSERT_TRUE(dialog) << "no open dialog appeared";
    QuorlinProcess::ChooseFile(*dialog, tool.Path().Str());
    ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_TOOL_PATH) == tool.Path().Str(); }));

    quorlin.Click(IDOK);
    ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_LOG).ends_with(L"Finished!"); }));
    EXPECT_EQ(quorlin.Text(IDC_LOG),
              L"Starting...\r\n" + startFolder.Path().wstring() + L"\r\n\r\nFinished!");
}

TEST_F(Scenario, AListFromTheCommandLineIsSignedFileByFileWhileClosingIsRefused)
{
    StandinTool tool;
    const CString first = tool.Script(L"first.exe", "sleep 400\nout signed first\n");
    const CString second = tool.Script(L"second file.exe", "sleep 400\nerr second: no certificate\nexit 1\n");
    const CString third = tool.Script(L"third.exe", "out signed third\n");
    const std::wstring listText = (first + L"\r\n" + second + L"\r\n" + third).Str();
    const fs::path list = m_folder / L"release.ksig";
    WriteBytes(list, std::string(listText.begin(), listText.end()));
    StoreToolPath(tool.Path().Str());

    QuorlinProcess quorlin(Program(), Quoted(list));
    ASSERT_TRUE(quorlin.Window());
    EXPECT_EQ(quorlin.Text(IDC_FILE_LIST), listText);

    quorlin.Click(IDOK);
    EXPECT_TRUE(Eventually([&] { return !quorlin.IsEnabled(IDOK); }))
        << "Sign is disabled while the run lasts";
    quorlin.PostToWindow(WM_CLOSE);
    ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_LOG).ends_with(L"Finished!"); }));
    EXPECT_TRUE(quorlin.WaitUntilPostsHandled()) << "the dialog still runs: the close request was refused";

    EXPECT_EQ(
        quorlin.Text(IDC_LOG),
        L"Starting...\r\nsigned first\r\n\r\nsecond: no certificate\r\n\r\nsigned third\r\n\r\nFinished!");
    EXPECT_TRUE(quorlin.IsEnabled(IDOK));
    const auto calls = tool.JournalCalls();
    ASSERT_EQ(calls.size(), 3u) << "each file is signed once";
    EXPECT_EQ(calls[0].back(), first.Str());
    EXPECT_EQ(calls[1].back(), second.Str());
    EXPECT_EQ(calls[2].back(), third.Str());

    const fs::path screenshots = ExecutableDirectory().parent_path() / L"screenshots";
    fs::create_directories(screenshots);
    EXPECT_TRUE(quorlin.SaveScreenshot(screenshots / L"signing-run.png"));
    EXPECT_FALSE(quorlin.HasExited());
}

TEST_F(Scenario, SaveAddsTheExtensionAndAFailedSaveKeepsTheFileThatWasThere)
{
    const fs::path list = ListFile(L"start.ksig", "C:\\a.exe\r\nC:\\b b\\c.dll");
    QuorlinProcess quorlin(Program(), Quoted(list));
    ASSERT_TRUE(quorlin.Window());

    quorlin.Click(IDC_SAVE);
    std::optional<SeenWindow> dialog = quorlin.WaitForWindow(L"");
    ASSERT_TRUE(dialog) << "no save dialog appeared";
    QuorlinProcess::ChooseFile(*dialog, (m_folder / L"saved list").wstring());
    std::optional<SeenWindow> box = quorlin.WaitForWindow(L"Quorlin");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"File saved successfully!");
    EXPECT_EQ(box->icon, SeenWindow::Icon::Information);
    ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));
    EXPECT_EQ(ReadBytes(m_folder / L"saved list.ksig"), "C:\\a.exe\r\nC:\\b b\\c.dll");

    const fs::path held = ListFile(L"held.ksig", "C:\\kept.exe");
    UniqueHfile holder(
        CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    quorlin.Click(IDC_SAVE);
    dialog = quorlin.WaitForWindow(L"");
    ASSERT_TRUE(dialog);
    QuorlinProcess::ChooseFile(*dialog, held.wstring());
    const std::optional<SeenWindow> prompt = quorlin.WaitForWindow(L"", dialog->window);
    ASSERT_TRUE(prompt) << "the save dialog did not ask before overwriting";
    ASSERT_TRUE(QuorlinProcess::Press(*prompt, IDYES));
    box = quorlin.WaitForWindow(L"Quorlin");
    holder.Close();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Failed to save the file. Error code: 11");
    EXPECT_EQ(box->icon, SeenWindow::Icon::Error);
    ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));
    EXPECT_EQ(ReadBytes(held), "C:\\kept.exe");
}

TEST_F(Scenario, AFolderNamedSigntoolExeFailsOnceForEveryFile)
{
    fs::create_directories(m_folder / L"signtool.exe");
    StoreToolPath((m_folder / L"signtool.exe").wstring());
    const fs::path list = ListFile(L"two.ksig", "C:\\a.exe\r\nC:\\b.exe");
    QuorlinProcess quorlin(Program(), Quoted(list));
    ASSERT_TRUE(quorlin.Window());

    quorlin.Click(IDOK);
    for (int file = 0; file < 2; ++file)
    {
        const std::optional<SeenWindow> box = quorlin.WaitForWindow(L"Quorlin");
        ASSERT_TRUE(box) << "file " << file;
        EXPECT_EQ(box->text, L"Failed to execute signtool.exe. Error code: 5");
        EXPECT_EQ(box->icon, SeenWindow::Icon::None);
        ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));
    }
    ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_LOG).ends_with(L"Finished!"); }));
    EXPECT_EQ(quorlin.Text(IDC_LOG), L"Starting...\r\n\r\n\r\nFinished!");
}

TEST_F(Scenario, ClearEmptiesTheListEscapeEndsTheProgramAndTwoCanRunAtOnce)
{
    const fs::path list = ListFile(L"clear.ksig", "C:\\a.exe");
    QuorlinProcess first(Program(), Quoted(list));
    QuorlinProcess second(Program(), L"");
    ASSERT_TRUE(first.Window());
    ASSERT_TRUE(second.Window());
    EXPECT_NE(first.Window(), second.Window());
    EXPECT_EQ(second.Text(IDC_FILE_LIST), L"");

    first.Click(IDC_CLEAR);
    EXPECT_TRUE(Eventually([&] { return first.Text(IDC_FILE_LIST).empty(); }));
    first.PressKey(IDC_FILE_LIST, VK_ESCAPE);
    EXPECT_TRUE(first.WaitForExit(10000)) << "Escape ends the program";
    EXPECT_FALSE(second.HasExited()) << "the other instance runs on";
}

TEST_F(Scenario, AStartAndARunWriteNothingOutsideTheCurrentUser)
{
    StandinTool tool;
    StoreToolPath(tool.Path().Str());
    const fs::path list = ListFile(L"scope.ksig", "C:\\a.exe");
    const std::wstring before = RegistryOutsideCurrentUser();
    {
        QuorlinProcess quorlin(Program(), Quoted(list));
        ASSERT_TRUE(quorlin.Window());
        quorlin.Click(IDOK);
        ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_LOG).ends_with(L"Finished!"); }));
    }
    const std::wstring after = RegistryOutsideCurrentUser();
    EXPECT_GT(before.size(), 1000u) << "the snapshot read the machine's registry";
    EXPECT_TRUE(before == after) << "something outside HKEY_CURRENT_USER changed";
}
} // namespace
