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

#include <algorithm>
#include <cstdio>
#include <list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// Tells whether one of Quorlin's keys appeared below a registry key while it was watched. Only the key itself
// is watched, not what lies deeper, and what appeared is looked at by name: on a live machine services make
// and remove keys deeper down (the Local Settings of the classes) and other programs register classes of
// their own. Where the key does not exist, the nearest one above it that does is watched, for a key made
// there.
class RegistryWatch
{
  public:
    RegistryWatch(HKEY root, const std::wstring& path, std::vector<std::wstring> names, REGSAM view)
        : m_root(root), m_path(path), m_names(std::move(names)), m_view(view)
    {
        std::wstring watched = path;
        while (RegOpenKeyExW(root, watched.c_str(), 0, KEY_NOTIFY | view, m_key.Put()) != ERROR_SUCCESS &&
               !watched.empty())
        {
            const std::size_t slash = watched.rfind(L'\\');
            watched.resize(slash == std::wstring::npos ? 0 : slash);
        }
        if (m_key && m_changed)
            m_armed = RegNotifyChangeKeyValue(m_key.Get(), FALSE, REG_NOTIFY_CHANGE_NAME, m_changed.Get(),
                                              TRUE) == ERROR_SUCCESS;
    }
    bool Armed() const { return m_armed; }
    // The registry signals the change as part of the write, so once the writer has ended it is known. Nothing
    // when nothing of Quorlin's appeared.
    std::optional<std::wstring> Appeared() const
    {
        if (WaitForSingleObject(m_changed.Get(), 0) != WAIT_OBJECT_0)
            return std::nullopt;
        for (const std::wstring& name : m_names)
        {
            const std::wstring key = m_path + L"\\" + name;
            UniqueHkey found;
            if (RegOpenKeyExW(m_root, key.c_str(), 0, KEY_READ | m_view, found.Put()) == ERROR_SUCCESS)
                return key + (m_view == KEY_WOW64_32KEY ? L" (32-bit view)" : L" (64-bit view)");
        }
        return std::nullopt;
    }
    const std::wstring& Path() const { return m_path; }

  private:
    HKEY m_root;
    std::wstring m_path;
    std::vector<std::wstring> m_names;
    REGSAM m_view;
    UniqueHkey m_key;
    UniqueHandle m_changed{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool m_armed = false;
};

// The machine's part of the registry and the default user's: where Quorlin must never write.
const std::pair<HKEY, std::wstring> kOutsideTheCurrentUser[] = {{HKEY_LOCAL_MACHINE, L""},
                                                                {HKEY_USERS, L".DEFAULT\\"}};

// Where a program that registers a file type and keeps a setting could write outside the current user: the
// classes, the shell's file-extension choices and this vendor's key, in both registry views.
std::list<RegistryWatch> WatchOutsideTheCurrentUser()
{
    const std::pair<const wchar_t*, std::vector<std::wstring>> places[] = {
        {L"Software\\Classes", {L".ksig", L"Quorlin.sigfile"}},
        {L"Software", {L"Vantrel-App"}},
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts", {L".ksig"}}};
    std::list<RegistryWatch> watches;
    for (const auto& [root, prefix] : kOutsideTheCurrentUser)
        for (const auto& [key, names] : places)
            for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
                watches.emplace_back(root, prefix + key, names, view);
    return watches;
}

// Quorlin's own keys, taken away where it must not write them until the scenario ends, so that a write of
// them there makes a key, which the watches see, even where an earlier start left the same data there.
std::list<KeySetAside> TakeAwayQuorlinsKeysOutsideTheCurrentUser()
{
    std::list<KeySetAside> takenAway;
    int copy = 0;
    for (const auto& [root, prefix] : kOutsideTheCurrentUser)
        for (const wchar_t* key :
             {L"Software\\Classes\\.ksig", L"Software\\Classes\\Quorlin.sigfile", L"Software\\Vantrel-App"})
            takenAway.emplace_back(root, prefix + key, L"Taken away " + std::to_wstring(copy++));
    return takenAway;
}

// The DPI of the desktop, set for the programs started from now on and put back when it goes. Wine reads it
// at every program's start; Windows at the next sign-in only, so there it changes nothing that a test sees.
class DesktopDpi
{
  public:
    explicit DesktopDpi(DWORD dpi)
    {
        DWORD size = sizeof(m_before);
        m_had = RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &m_before,
                             &size) == ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    DesktopDpi(const DesktopDpi&) = delete;
    DesktopDpi& operator=(const DesktopDpi&) = delete;
    ~DesktopDpi()
    {
        if (m_had)
            RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &m_before,
                            sizeof(m_before));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    }

  private:
    static constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
    DWORD m_before = 0;
    bool m_had = false;
};

TEST_F(Scenario, FirstStartWithAnEmptyProfileAndNoSdkHasNoToolAndSignSaysSo)
{
    WithoutTheSdksSigntool();
    QuorlinProcess quorlin(Program(), L"");
    ASSERT_TRUE(quorlin.Window());
    EXPECT_EQ(quorlin.Text(IDC_TOOL_PATH), L"");

    // The user is at work in another program when the box comes up. Windows may refuse this program the
    // foreground, as a hosted runner's console keeps it; Quorlin must not be in front either way.
    const UniqueWindow elsewhere = ShowForegroundWindow();
    ASSERT_NE(GetForegroundWindow(), quorlin.Window()) << "Quorlin is in front";
    quorlin.Click(IDOK);
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

// The Windows SDK's installer is a 32-bit program: its root may be only in the 32-bit view of the registry,
// while the 64-bit view names a folder where nothing is installed, as tools/test makes its prefix.
// QUORLIN_TEST_SDK_SIGNTOOL names the SDK's signtool.exe that Quorlin must find there.
TEST_F(Scenario, FirstStartFindsTheSdksSigntoolByTheMachinesRegistration)
{
    const fs::path expected = EnvironmentValue(L"QUORLIN_TEST_SDK_SIGNTOOL");
    if (expected.empty())
        GTEST_SKIP() << "QUORLIN_TEST_SDK_SIGNTOOL names no signtool.exe of this machine's Windows SDK, as "
                        "tools/test and the CI workflow's Windows job do";
    WithTheMachinesSdk();
    QuorlinProcess quorlin(Program(), L"");
    ASSERT_TRUE(quorlin.Window());
    std::error_code unknown;
    EXPECT_TRUE(fs::equivalent(quorlin.Text(IDC_TOOL_PATH), expected, unknown))
        << "Quorlin found " << ::testing::PrintToString(CString(quorlin.Text(IDC_TOOL_PATH)));
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
    const fs::path list = ListFile(L"where.ksig", AnsiBytes(where.Str()));
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
    WriteBytes(list, AnsiBytes(listText));
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

// More lines than the list box shows, typed with Ctrl+Enter between them and pasted: each line is a file.
TEST_F(Scenario, EveryLineTypedOrPastedIntoTheListIsSignedAsAFileOfItsOwn)
{
    StandinTool tool;
    StoreToolPath(tool.Path().Str());
    std::vector<std::wstring> files;
    std::wstring typed;
    for (int line = 1; line <= 25; ++line)
    {
        files.push_back(L"C:\\Release\\typed " + std::to_wstring(line) + L".exe");
        typed += files.back() + L"\n";
    }
    std::wstring pasted;
    for (int line = 1; line <= 40; ++line)
    {
        files.push_back(L"C:\\Release\\pasted " + std::to_wstring(line) + L".dll");
        pasted += (line > 1 ? L"\r\n" : L"") + files.back();
    }
    QuorlinProcess quorlin(Program(), L"");
    ASSERT_TRUE(quorlin.Window());
    quorlin.TypeKeys(IDC_FILE_LIST, typed);
    ASSERT_TRUE(quorlin.Paste(IDC_FILE_LIST, pasted));
    quorlin.Click(IDOK);
    // 65 files: about ten seconds under Wine.
    ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_LOG).ends_with(L"Finished!"); }, 60000));
    EXPECT_EQ(tool.SignedFiles(), files);
}

TEST_F(Scenario, ALineTypedAtTheEndOfAnOpenedListOfMoreThan32767CharactersIsKept)
{
    std::string bytes = "C:\\Release\\component 0.dll";
    while (bytes.size() <= 40000)
        bytes += "\r\nC:\\Release\\component " + std::to_string(bytes.size()) + ".dll";
    QuorlinProcess quorlin(Program(), Quoted(ListFile(L"long.ksig", bytes)));
    ASSERT_TRUE(quorlin.Window());
    quorlin.PutCaretAtEnd(IDC_FILE_LIST);
    quorlin.TypeKeys(IDC_FILE_LIST, L"\nC:\\Release\\added.exe");
    ASSERT_TRUE(quorlin.WaitUntilPostsHandled());
    const std::wstring list = quorlin.Text(IDC_FILE_LIST);
    EXPECT_TRUE(list == std::wstring(bytes.begin(), bytes.end()) + L"\r\nC:\\Release\\added.exe")
        << "the list ends in: "
        << ::testing::PrintToString(
               CString(list.substr(list.size() - std::min<std::size_t>(list.size(), 60))));
}

TEST_F(Scenario, SaveAddsTheExtensionAndAFailedSaveKeepsTheFileThatWasThere)
{
    const fs::path list = ListFile(L"start.ksig", "C:\\a.exe\r\nC:\\b b\\c.dll");
    QuorlinProcess quorlin(Program(), Quoted(list));
    ASSERT_TRUE(quorlin.Window());
    quorlin.PutCaretAtEnd(IDC_FILE_LIST);
    quorlin.TypeKeys(IDC_FILE_LIST, L"\nC:\\typed.exe");

    quorlin.Click(IDC_SAVE);
    std::optional<SeenWindow> dialog = quorlin.WaitForWindow(L"");
    ASSERT_TRUE(dialog) << "no save dialog appeared";
    QuorlinProcess::ChooseFile(*dialog, (m_folder / L"saved list").wstring());
    std::optional<SeenWindow> box = quorlin.WaitForWindow(L"Quorlin");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"File saved successfully!");
    EXPECT_EQ(box->icon, SeenWindow::Icon::Information);
    ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));
    EXPECT_EQ(ReadBytes(m_folder / L"saved list.ksig"), "C:\\a.exe\r\nC:\\b b\\c.dll\r\nC:\\typed.exe");

    // A list held open by another program. Windows' own save dialog tries the chosen file itself and may
    // refuse it with a box of its own before Quorlin sees the name; Wine's leaves the refusal to Quorlin.
    // Either way the old list keeps its bytes and no success is reported. Three answers are known: the save
    // dialog's question whether to overwrite, its refusal, and Quorlin's own box; any other fails.
    const fs::path held = ListFile(L"held.ksig", "C:\\kept.exe");
    UniqueHfile holder(
        CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    quorlin.Click(IDC_SAVE);
    dialog = quorlin.WaitForWindow(L"");
    ASSERT_TRUE(dialog);
    QuorlinProcess::ChooseFile(*dialog, held.wstring());
    box.reset();
    bool refusedByTheDialog = false;
    while (!box && !refusedByTheDialog)
    {
        const std::optional<SeenWindow> next = quorlin.WaitForWindow(L"", dialog->window);
        ASSERT_TRUE(next) << "neither the save dialog nor Quorlin answered";
        const HWND owner = GetWindow(next->window, GW_OWNER);
        if (owner == quorlin.Window() && next->caption == L"Quorlin")
            box = next;
        else if (owner == dialog->window && QuorlinProcess::HasButton(*next, IDYES))
            ASSERT_TRUE(QuorlinProcess::Press(*next, IDYES)) << "the question whether to overwrite stayed";
        else if (owner == dialog->window && QuorlinProcess::HasButton(*next, IDOK))
        {
            ASSERT_TRUE(QuorlinProcess::Press(*next, IDOK));
            ASSERT_TRUE(QuorlinProcess::Press(*dialog, IDCANCEL));
            refusedByTheDialog = true;
        }
        else
            FAIL() << "an unknown window answered the save: "
                   << ::testing::PrintToString(CString(next->caption)) << ", "
                   << ::testing::PrintToString(CString(next->text));
    }
    if (box)
    {
        EXPECT_EQ(box->text, L"Failed to save the file. Error code: 11");
        EXPECT_EQ(box->icon, SeenWindow::Icon::Error);
        ASSERT_TRUE(QuorlinProcess::Press(*box, IDOK));
    }
    else
    {
        ASSERT_TRUE(quorlin.WaitUntilPostsHandled());
        EXPECT_EQ(quorlin.VisibleWindows(), std::vector<HWND>{quorlin.Window()})
            << "Quorlin reported something after the save dialog's refusal";
    }
    holder.Close();
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

// Per-monitor aware, the dialog is laid out by Windows' dialog manager at each monitor's DPI, in the
// template's dialog units; under Wine the desktop is at 144 DPI for this start. That is one and a half times
// the usual, where the dialog still fits a screen of 1024 x 768, as a hosted runner's is.
TEST_F(Scenario, AtOneAndAHalfTimesTheUsualDpiTheDialogKeepsItsLayoutWithEveryControlInside)
{
    const auto clientWidth = [](const QuorlinProcess& quorlin)
    {
        RECT client{};
        GetClientRect(quorlin.Window(), &client);
        return client.right;
    };
    LONG usualWidth = 0;
    {
        const QuorlinProcess usual(Program(), L"");
        ASSERT_TRUE(usual.Window());
        usualWidth = clientWidth(usual);
    }
    constexpr DWORD kDpi = 144;
    const DesktopDpi scaled(kDpi);
    QuorlinProcess quorlin(Program(), L"");
    ASSERT_TRUE(quorlin.Window());
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(quorlin.Window())),
              DPI_AWARENESS_PER_MONITOR_AWARE);
    if (clientWidth(quorlin) < usualWidth * 5 / 4)
        GTEST_SKIP() << "the dialog is " << clientWidth(quorlin)
                     << " pixels wide, as at the desktop's usual DPI (" << usualWidth
                     << "): Windows takes a new DPI at the next sign-in, not at a program's start";
    RECT window{};
    GetWindowRect(quorlin.Window(), &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(quorlin.Window(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT onScreen{};
    if (!IntersectRect(&onScreen, &window, &monitor.rcWork) || !EqualRect(&onScreen, &window))
        GTEST_SKIP() << "at " << kDpi << " DPI the dialog (" << window.right - window.left << " x "
                     << window.bottom - window.top << ") does not fit this screen's work area";

    RECT client{};
    GetClientRect(quorlin.Window(), &client);
    MapWindowPoints(quorlin.Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const double perUnitX = (client.right - client.left) / 321.0;
    const double perUnitY = (client.bottom - client.top) / 235.0;
    std::printf("the client area is %ld x %ld pixels\n", client.right - client.left,
                client.bottom - client.top);
    // The template's rectangles, in dialog units.
    const struct
    {
        int id;
        RECT units;
    } controls[] = {{IDOK, {113, 214, 205, 228}},       {IDC_FILE_LIST, {7, 7, 314, 84}},
                    {IDC_LOG, {7, 109, 314, 165}},      {IDC_SAVE, {264, 88, 314, 102}},
                    {IDC_CLEAR, {7, 88, 57, 102}},      {IDC_TOOL_PATH, {7, 170, 288, 184}},
                    {IDC_BROWSE, {293, 170, 314, 184}}, {IDCANCEL, {264, 214, 314, 228}}};
    for (const auto& control : controls)
    {
        RECT shown{};
        GetWindowRect(GetDlgItem(quorlin.Window(), control.id), &shown);
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &shown, &client) && EqualRect(&inside, &shown))
            << control.id << " lies inside the client area";
        EXPECT_NEAR(shown.left - client.left, control.units.left * perUnitX, 2) << control.id;
        EXPECT_NEAR(shown.right - client.left, control.units.right * perUnitX, 2) << control.id;
        EXPECT_NEAR(shown.top - client.top, control.units.top * perUnitY, 2) << control.id;
        EXPECT_NEAR(shown.bottom - client.top, control.units.bottom * perUnitY, 2) << control.id;
    }
    const fs::path screenshots = ExecutableDirectory().parent_path() / L"screenshots";
    fs::create_directories(screenshots);
    EXPECT_TRUE(quorlin.SaveScreenshot(screenshots / L"one-and-a-half-times-the-dpi.png"));
}

// A downloaded program is started from a folder anyone can write to, where a web page may have left a DLL
// named like one of Windows' own, which Windows' loader looks for in the program's folder first. Quorlin has
// it look in System32 alone, for what it imports and for what Windows loads on its behalf (the themes, the
// shell of the file dialogs). Wine loads its own DLLs whatever lies beside a program, so there this passes
// either way: it proves the defence on Windows.
TEST_F(Scenario, ADllPlantedBesideACopyOfQuorlinUnderTheNameOfAWindowsDllIsNeverLoaded)
{
    const fs::path downloads = m_folder / L"Downloads";
    fs::create_directories(downloads);
    fs::copy_file(Program(), downloads / L"Quorlin.exe");
    const std::vector<std::wstring> planted = {L"uxtheme.dll", L"dwmapi.dll", L"version.dll",
                                               L"CRYPTBASE.dll", L"propsys.dll"};
    for (const std::wstring& name : planted)
        fs::copy_file(ExecutableDirectory() / L"planted" / L"planted.dll", downloads / name);
    {
        QuorlinProcess quorlin(downloads / L"Quorlin.exe", L"", downloads);
        ASSERT_TRUE(quorlin.Window());
        quorlin.Click(IDC_SAVE);
        const std::optional<SeenWindow> dialog = quorlin.WaitForWindow(L"");
        ASSERT_TRUE(dialog) << "no save dialog appeared";
        ASSERT_TRUE(QuorlinProcess::Press(*dialog, IDCANCEL));
    }
    for (const std::wstring& name : planted)
        EXPECT_FALSE(fs::exists(downloads / (name + L".loaded")))
            << "the planted " << fs::path(name).string() << " was loaded";
}

// A person makes the window larger with its frame, and then tries to make it smaller than it opened.
TEST_F(Scenario, TheListAndTheLogGrowWithTheWindowWhichCannotBeMadeSmallerThanItOpened)
{
    QuorlinProcess quorlin(Program(), L"");
    ASSERT_TRUE(quorlin.Window());
    const HWND window = quorlin.Window();
    const auto placeOf = [&](int id)
    {
        RECT place{};
        GetWindowRect(GetDlgItem(window, id), &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        return place;
    };
    const auto resize = [&](LONG width, LONG height)
    { SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); };
    RECT opened{};
    GetWindowRect(window, &opened);
    // How far each edge of a control moves when the window is 200 pixels wider and 150 taller.
    const struct
    {
        int id;
        LONG left, top, right, bottom;
    } moves[] = {{IDC_FILE_LIST, 0, 0, 200, 75},    {IDC_CLEAR, 0, 75, 0, 75},
                 {IDC_SAVE, 200, 75, 200, 75},      {IDC_LOG, 0, 75, 200, 150},
                 {IDC_TOOL_PATH, 0, 150, 200, 150}, {IDC_BROWSE, 200, 150, 200, 150},
                 {IDOK, 100, 150, 100, 150}};
    std::vector<RECT> before;
    for (const auto& move : moves)
        before.push_back(placeOf(move.id));

    resize(opened.right - opened.left + 200, opened.bottom - opened.top + 150);
    RECT client{};
    GetClientRect(window, &client);
    for (std::size_t i = 0; i < std::size(moves); ++i)
    {
        const RECT place = placeOf(moves[i].id);
        EXPECT_EQ((std::vector<LONG>{place.left - before[i].left, place.top - before[i].top,
                                     place.right - before[i].right, place.bottom - before[i].bottom}),
                  (std::vector<LONG>{moves[i].left, moves[i].top, moves[i].right, moves[i].bottom}))
            << "control " << moves[i].id;
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &place, &client) && EqualRect(&inside, &place))
            << "control " << moves[i].id << " lies inside the client area";
    }

    resize(opened.right - opened.left - 100, opened.bottom - opened.top - 100);
    RECT smallest{};
    GetWindowRect(window, &smallest);
    EXPECT_EQ(smallest.right - smallest.left, opened.right - opened.left);
    EXPECT_EQ(smallest.bottom - smallest.top, opened.bottom - opened.top);
    for (std::size_t i = 0; i < std::size(moves); ++i)
    {
        const RECT place = placeOf(moves[i].id);
        EXPECT_TRUE(EqualRect(&before[i], &place))
            << "control " << moves[i].id << " is back in its first place";
    }
}

TEST_F(Scenario, AStartAndARunWriteNothingOutsideTheCurrentUser)
{
    StandinTool tool;
    StoreToolPath(tool.Path().Str());
    const fs::path list = ListFile(L"scope.ksig", "C:\\a.exe");
    const std::list<KeySetAside> takenAway = TakeAwayQuorlinsKeysOutsideTheCurrentUser();
    const std::list<RegistryWatch> watches = WatchOutsideTheCurrentUser();
    for (const RegistryWatch& watch : watches)
        ASSERT_TRUE(watch.Armed()) << ::testing::PrintToString(CString(watch.Path()));
    {
        QuorlinProcess quorlin(Program(), Quoted(list));
        ASSERT_TRUE(quorlin.Window());
        quorlin.Click(IDOK);
        ASSERT_TRUE(Eventually([&] { return quorlin.Text(IDC_LOG).ends_with(L"Finished!"); }));
    }
    for (const RegistryWatch& watch : watches)
        if (const std::optional<std::wstring> key = watch.Appeared())
            ADD_FAILURE() << "written: " << ::testing::PrintToString(CString(*key));
}
} // namespace
