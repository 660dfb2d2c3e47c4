#include "DialogWatcher.h"
#include "Eventually.h"
#include "MessageBoxRecorder.h"
#include "PrintCString.h"
#include "RegistryScratch.h"
#include "TestFiles.h"
#include "WindowText.h"
#include "platform/AccessibleNames.h"
#include "platform/Com.h"
#include "platform/TaskbarProgress.h"
#include "platform/WinApp.h"
#include "ui/QuorlinDlg.h"
#include "ui/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// Closes the dialog at the end of a scope, before what the test made for it (COM, an object it holds) goes.
struct CloseFirst
{
    std::unique_ptr<CQuorlinDlg>& dialog;
    ~CloseFirst() { dialog.reset(); }
};

// A real main dialog window in this process, driven with real window messages. The program's profile is in
// registry keys of the test's own.
class MainDialog : public ::testing::Test
{
  protected:
    MainDialog() : m_profile(HKEY_CURRENT_USER, L"Software\\Vantrel-App\\" + AfxGetApp()->AppName().Str())
    {
        AfxGetApp()->SetRegistryKey(L"Vantrel-App");
    }

    // Opens the dialog with toolPath stored in the profile. Without one, the profile holds the marker that
    // ends the search, so that no signtool.exe of the machine's own is ever found and run.
    void Open(const std::wstring& toolPath = L"", const CString& listFile = L"")
    {
        AfxGetApp()->WriteProfileString(L"Settings", L"SigntoolPath",
                                        toolPath.empty() ? L"signtool.exe not found" : toolPath.c_str());
        m_dialog = std::make_unique<CQuorlinDlg>();
        m_dialog->LoadListFile(listFile);
        ASSERT_TRUE(m_dialog->Create());
        Pump();
    }
    HWND Window() const { return m_dialog->m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(Window(), id); }
    std::wstring Text(int id) const { return WindowText(Item(id)); }
    // A button's command as its click sends it: a click of the mouse needs the dialog to be active, which
    // another program in front of it may not allow.
    void Click(int id) const
    {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }

    static void Pump()
    {
        MSG waiting;
        while (PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE))
            if (!AfxGetApp()->PumpMessage())
                return;
    }

    // What the shell hands a window that files are dropped on: a DROPFILES block of wide names in a global
    // handle, which the dialog releases.
    static WPARAM DroppedFiles(const std::vector<std::wstring>& names)
    {
        std::size_t characters = 1;
        for (const std::wstring& name : names)
            characters += name.size() + 1;
        const HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        auto* text = reinterpret_cast<wchar_t*>(header + 1);
        for (const std::wstring& name : names)
            text = std::copy(name.begin(), name.end(), text) + 1;
        GlobalUnlock(block);
        return reinterpret_cast<WPARAM>(block);
    }
    void Drop(const std::vector<std::wstring>& names) const
    {
        SendMessageW(Window(), WM_DROPFILES, DroppedFiles(names), 0);
    }

    RedirectedRegistry m_registry;
    RegistryScratch m_profile;
    TempDirectory m_folder;
    std::unique_ptr<CQuorlinDlg> m_dialog;
};

TEST_F(MainDialog, OpensWithTheStoredToolAndTheListLoadedBeforeTheWindowExisted)
{
    const fs::path list = m_folder / L"start.ksig";
    WriteBytes(list, "C:\\one.exe\r\nC:\\two.exe");
    Open(L"C:\\Kits\\signtool.exe", CString(list.wstring()));
    EXPECT_EQ(Text(IDC_TOOL_PATH), L"C:\\Kits\\signtool.exe");
    EXPECT_EQ(Text(IDC_FILE_LIST), L"C:\\one.exe\r\nC:\\two.exe");
    EXPECT_EQ(Text(IDC_LOG), L"");
    EXPECT_NE(SendMessageW(Window(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(
        SendMessageW(Window(), WM_QUERYDRAGICON, 0, 0),
        reinterpret_cast<LRESULT>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))));
}

TEST_F(MainDialog, TheSystemMenuEndsWithASeparatorAndTheAboutEntry)
{
    Open();
    const HMENU menu = GetSystemMenu(Window(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&About Quorlin...");
}

TEST_F(MainDialog, SystemCommandsSixteenToThirtyOneOpenTheAboutBoxAndOthersDoNot)
{
    Open();
    for (const UINT command : {0x0010u, 0x001Fu})
    {
        DialogWatcher watcher(GetCurrentThreadId(), L"About Quorlin");
        SendMessageW(Window(), WM_SYSCOMMAND, command, 0);
        const std::optional<SeenDialog> seen = watcher.Finish();
        ASSERT_TRUE(seen) << "command " << command;
        EXPECT_EQ(seen->texts, (std::vector<std::wstring>{L"Quorlin, Version 1.0", L"Copyright (C) 2026"}));
        EXPECT_TRUE(seen->hasIcon);
        EXPECT_TRUE(IsWindowEnabled(Window())) << "the owner is enabled again once the box has closed";
    }
    DialogWatcher watcher(GetCurrentThreadId(), L"About Quorlin");
    // A modal About box would have run inside this call, so none has appeared once it returns.
    SendMessageW(Window(), WM_SYSCOMMAND, 0x0020, 0);
    EXPECT_FALSE(watcher.Finish());
    EXPECT_FALSE(m_dialog->EndCode());
}

TEST_F(MainDialog, DroppedNamesAreAppendedOrTheFirstListFileIsLoaded)
{
    const fs::path first = m_folder / L"List.KSIG";
    const fs::path second = m_folder / L"other.ksig";
    WriteBytes(first, "C:\\from list.exe\r\n\r\nC:\\second.dll\r\n");
    WriteBytes(second, "C:\\never.exe");
    const std::wstring longName = L"C:\\" + std::wstring(290, L'n') + L"\\app.exe";
    ASSERT_EQ(longName.size(), 301u);
    const struct
    {
        const char* name;
        std::vector<std::wstring> names;
        std::wstring listAfter;
    } cases[] = {
        {"names are appended to the list", {L"a.exe", L"b.exe"}, L"c.exe\r\na.exe\r\nb.exe"},
        {"a list file among names loads alone",
         {L"x.exe", first.wstring(), L"y.dll"},
         L"C:\\from list.exe\r\n\r\nC:\\second.dll"},
        {"only the first of two list files",
         {first.wstring(), second.wstring()},
         L"C:\\from list.exe\r\n\r\nC:\\second.dll"},
        {"a name longer than 259 characters stays whole", {longName}, L"c.exe\r\n" + longName},
    };
    for (const auto& c : cases)
    {
        Open(L"", L"");
        Drop({L"c.exe"});
        Drop(c.names);
        EXPECT_EQ(Text(IDC_FILE_LIST), c.listAfter) << c.name;
    }
    EXPECT_TRUE(GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
        << "the shell drops nothing on a window that does not take files";
}

TEST_F(MainDialog, AListFileWithAPathLongerThan259CharactersIsLoadedNotAppended)
{
    if (MachineRefusesLongPaths())
        GTEST_SKIP() << "this machine does not allow paths past MAX_PATH (LongPathsEnabled is off)";
    fs::path folder = m_folder.Path();
    while (folder.wstring().size() < 280)
        folder /= std::wstring(40, L'd');
    fs::create_directories(folder);
    const fs::path list = folder / L"long.ksig";
    WriteBytes(list, "C:\\signed.exe");
    Open();
    Drop({list.wstring()});
    EXPECT_EQ(Text(IDC_FILE_LIST), L"C:\\signed.exe");
}

// Wine implements neither Dynamic Annotation nor the accessible objects of its controls: there the names are
// read by the Windows job only.
TEST_F(MainDialog, ControlsThatShowNoNameOfTheirOwnHaveAccessibleNames)
{
    const ComApartment com;
    // The dialog withdraws its names through COM, so it goes before COM does, however the test ends.
    const CloseFirst closeFirst{m_dialog};
    {
        // Wine has the annotation service, but it answers that it does not implement it.
        const UniqueWindow window(
            CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
        CAccessibleNames probe;
        if (!probe.SetName(window.Get(), L"probe"))
            GTEST_SKIP()
                << "this system does not implement Dynamic Annotation (Wine does not); the Windows job "
                   "reads the names";
    }
    Open();
    const struct
    {
        int id;
        const wchar_t* name;
    } controls[] = {{IDC_FILE_LIST, L"Files to sign"},
                    {IDC_LOG, L"Signing log"},
                    {IDC_TOOL_PATH, L"Signing tool"},
                    {IDC_BROWSE, L"Choose the signing tool"}};
    for (const auto& control : controls)
    {
        UniqueComPtr<IAccessible> accessible;
        ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(Item(control.id), static_cast<DWORD>(OBJID_CLIENT),
                                                         IID_PPV_ARGS(accessible.Put()))))
            << control.id;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        accessible.Get()->get_accName(self, &name);
        EXPECT_EQ(std::wstring(name ? name : L""), control.name) << control.id;
        SysFreeString(name);
    }
}

TEST_F(MainDialog, ADropAddsToTheListAsTheBoxShowsItAndShowsTheNamesAdded)
{
    Open();
    Drop({L"c.exe"});
    SetWindowTextW(Item(IDC_FILE_LIST), L"typed.exe\r\nc.exe");
    Drop({L"d.exe"});
    EXPECT_EQ(Text(IDC_FILE_LIST), L"typed.exe\r\nc.exe\r\nd.exe");

    Drop(std::vector<std::wstring>(30, L"more.exe"));
    const DWORD length = static_cast<DWORD>(GetWindowTextLengthW(Item(IDC_FILE_LIST)));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Item(IDC_FILE_LIST), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::vector<DWORD>({start, end}), std::vector<DWORD>({length, length}))
        << "the caret is at the end";
    EXPECT_GT(SendMessageW(Item(IDC_FILE_LIST), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the list shows its top";
}

// While the first file is being signed, a person types a line at the top of the list and drops a file.
TEST_F(MainDialog, ADropDuringARunIsSignedOnceAfterTheRestAndTheTypedLineStays)
{
    StandinTool tool;
    const fs::path firstEnds = m_folder / L"first may end";
    const CString first = tool.Script(L"first.exe", "await " + firstEnds.string() + "\nout one\n");
    const CString second = tool.Script(L"second.exe", "out two\n");
    const CString dropped = tool.Script(L"dropped.exe", "out dropped\n");
    Open(tool.Path().Str());
    SetWindowTextW(Item(IDC_FILE_LIST), (first + L"\r\n" + second).Str().c_str());

    std::thread person(
        [&]
        {
            Eventually([&] { return tool.JournalCalls().size() == 1; });
            PostMessageW(Item(IDC_FILE_LIST), EM_SETSEL, 0, 0);
            for (const wchar_t c : std::wstring(L"C:\\typed.exe\n"))
                PostMessageW(Item(IDC_FILE_LIST), WM_CHAR, c, 1);
            PostMessageW(Window(), WM_DROPFILES, DroppedFiles({dropped.Str()}), 0);
            WriteBytes(firstEnds, "");
        });
    Click(IDOK);
    person.join();

    EXPECT_EQ(Text(IDC_FILE_LIST),
              (L"C:\\typed.exe\r\n" + first + L"\r\n" + second + L"\r\n" + dropped).Str());
    EXPECT_EQ(tool.SignedFiles(), (std::vector<std::wstring>{first.Str(), second.Str(), dropped.Str()}));
}

// While the first of three files is being signed, a person drops a list file; in another run, clicks Clear
// and at once drops two files. The run goes on with the new list from its first entry.
TEST_F(MainDialog, AListReplacedDuringARunIsSignedWholeAfterTheCurrentFile)
{
    StandinTool tool;
    const fs::path firstEnds = m_folder / L"first may end";
    const std::wstring first = tool.Script(L"r1.exe", "await " + firstEnds.string() + "\n").Str();
    const fs::path listFile = m_folder / L"dropped.ksig";
    WriteBytes(listFile, "C:\\x1.exe\r\nC:\\x2.exe");
    const auto post = [&](UINT message, WPARAM w, LPARAM l) { PostMessageW(Window(), message, w, l); };
    const struct
    {
        const char* name;
        std::function<void()> act;
        std::vector<std::wstring> signedFiles;
    } cases[] = {
        {"a list file dropped",
         [&] { post(WM_DROPFILES, DroppedFiles({listFile.wstring()}), 0); },
         {first, L"C:\\x1.exe", L"C:\\x2.exe"}},
        {"Clear and a drop at once",
         [&]
         {
             post(WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDC_CLEAR)));
             post(WM_DROPFILES, DroppedFiles({L"C:\\d1.exe", L"C:\\d2.exe"}), 0);
         },
         {first, L"C:\\d1.exe", L"C:\\d2.exe"}},
    };
    Open(tool.Path().Str());
    for (const auto& c : cases)
    {
        fs::remove(firstEnds);
        const std::size_t before = tool.SignedFiles().size();
        SetWindowTextW(Item(IDC_FILE_LIST), (first + L"\r\nC:\\r2.exe\r\nC:\\r3.exe").c_str());
        std::thread person(
            [&]
            {
                Eventually([&] { return tool.SignedFiles().size() == before + 1; });
                c.act();
                WriteBytes(firstEnds, "");
            });
        Click(IDOK);
        person.join();
        const std::vector<std::wstring> signedFiles = tool.SignedFiles();
        EXPECT_EQ(std::vector(signedFiles.begin() + static_cast<std::ptrdiff_t>(before), signedFiles.end()),
                  c.signedFiles)
            << c.name;
    }
}

// A person presses Sign with the mouse, which gives the button the focus, watches the log of a run longer
// than the log box, and then goes on with the keyboard.
TEST_F(MainDialog, AfterARunStartedWithTheMouseTheLogShowsItsEndAndTheKeyboardHasSomewhereToGo)
{
    StandinTool tool;
    std::string lines;
    for (int line = 1; line <= 20; ++line)
        lines += "out line " + std::to_string(line) + "\n";
    Open(tool.Path().Str());
    EXPECT_EQ(GetFocus(), Item(IDC_FILE_LIST)) << "typing goes to the list from the start";
    SetWindowTextW(
        Item(IDC_FILE_LIST),
        (tool.Script(L"first.exe", lines) + L"\r\n" + tool.Script(L"second.exe", lines)).Str().c_str());
    SetFocus(Item(IDOK));
    Click(IDOK);

    const HWND focus = GetFocus();
    EXPECT_TRUE(focus && IsChild(Window(), focus) && IsWindowEnabled(focus)) << "the focus is on nothing";
    const HWND log = Item(IDC_LOG);
    ASSERT_TRUE(WindowText(log).ends_with(L"Finished!"));
    const auto finishedInView = [&]
    {
        const LRESULT finished = SendMessageW(log, EM_POSFROMCHAR, GetWindowTextLengthW(log) - 1, 0);
        RECT client{};
        GetClientRect(log, &client);
        return static_cast<short>(HIWORD(finished)) >= 0 &&
               static_cast<short>(HIWORD(finished)) < client.bottom;
    };
    EXPECT_GT(SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_TRUE(finishedInView()) << "\"Finished!\" is not in view";
    ShowWindow(Window(), SW_MAXIMIZE);
    ShowWindow(Window(), SW_RESTORE);
    EXPECT_TRUE(finishedInView())
        << "\"Finished!\" went out of view when the window was maximized and restored";
    const LRESULT firstLine = SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0);

    // The person drops a file, then clicks Clear with the mouse, which gives the button the focus.
    Drop({L"z.exe"});
    SetFocus(Item(IDC_CLEAR));
    Click(IDC_CLEAR);
    Pump();
    EXPECT_EQ(SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0), firstLine) << "the log moved";
    EXPECT_EQ(GetFocus(), Item(IDC_FILE_LIST)) << "after Clear the keyboard goes to the list";
}

// Where a window ends after it is sent WM_DPICHANGED at its own DPI with a rectangle 10 and 20 pixels further
// and 200 x 150 larger than its own, which is given back.
RECT AfterASyntheticDpiChange(HWND window, RECT& suggested)
{
    GetWindowRect(window, &suggested);
    OffsetRect(&suggested, 10, 20);
    suggested.right += 200;
    suggested.bottom += 150;
    const UINT dpi = GetDpiForWindow(window);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    MSG waiting;
    while (PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE) && AfxGetApp()->PumpMessage())
    {
    }
    RECT after{};
    GetWindowRect(window, &after);
    return after;
}

TEST_F(MainDialog, ADpiChangeMovesTheWindowWhereWindowsSuggestsAndLaysItOut)
{
    Open();
    RECT list{};
    GetWindowRect(Item(IDC_FILE_LIST), &list);
    RECT suggested{};
    const RECT window = AfterASyntheticDpiChange(Window(), suggested);
    if (!EqualRect(&window, &suggested))
    {
        // The dialog manager has its own part in the message. Where it alone puts a plain dialog of the same
        // template neither where it was nor where Windows suggested, that part is not the one assumed here.
        const UniqueWindow plain(CreateDialogParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0));
        RECT before{};
        GetWindowRect(plain.Get(), &before);
        RECT plainSuggested{};
        const RECT plainAfter = AfterASyntheticDpiChange(plain.Get(), plainSuggested);
        if (!EqualRect(&plainAfter, &before) && !EqualRect(&plainAfter, &plainSuggested))
            GTEST_SKIP() << "Windows' dialog manager moves a dialog at this DPI ("
                         << GetDpiForWindow(Window()) << ") on its own, to "
                         << plainAfter.right - plainAfter.left << " x " << plainAfter.bottom - plainAfter.top
                         << " pixels, when it is sent WM_DPICHANGED";
    }
    EXPECT_TRUE(EqualRect(&window, &suggested)) << "the window is not where Windows suggested";
    const LONG width = list.right - list.left;
    GetWindowRect(Item(IDC_FILE_LIST), &list);
    EXPECT_EQ(list.right - list.left, width + 200) << "the list did not take the room";
}

TEST_F(MainDialog, ClearEmptiesTheListAndLeavesTheLogAndToolPath)
{
    Open(L"C:\\Kits\\signtool.exe");
    Drop({L"a.exe", L"b.exe"});
    SetWindowTextW(Item(IDC_LOG), L"earlier log");
    Click(IDC_CLEAR);
    EXPECT_EQ(Text(IDC_FILE_LIST), L"");
    EXPECT_EQ(Text(IDC_TOOL_PATH), L"C:\\Kits\\signtool.exe");
    EXPECT_EQ(Text(IDC_LOG), L"") << "the push shows the log member, which no run has filled";
    Drop({L"z.exe"});
    EXPECT_EQ(Text(IDC_FILE_LIST), L"z.exe") << "the file list was emptied too";
}

TEST_F(MainDialog, EnterInTheListStartsSignInsteadOfBreakingTheLine)
{
    Open();
    SetWindowTextW(Item(IDC_FILE_LIST), L"a.exe");
    SetFocus(Item(IDC_FILE_LIST));
    MessageBoxRecorder boxes;
    PostMessageW(Item(IDC_FILE_LIST), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(Item(IDC_FILE_LIST), WM_KEYUP, VK_RETURN, 0xC01C0001);
    Pump();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, CString(L"Error - no SignTool set"));
    EXPECT_EQ(Text(IDC_FILE_LIST), L"a.exe");
}

TEST_F(MainDialog, EveryWayOfClosingEndsTheDialogOutsideARun)
{
    const struct
    {
        const char* name;
        std::function<void(HWND dialog, HWND list)> request;
    } cases[] = {
        {"Escape", [](HWND, HWND list) { PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"WM_CLOSE", [](HWND dialog, HWND) { PostMessageW(dialog, WM_CLOSE, 0, 0); }},
        {"system menu Close", [](HWND dialog, HWND) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& c : cases)
    {
        Open();
        SetFocus(Item(IDC_FILE_LIST));
        c.request(Window(), Item(IDC_FILE_LIST));
        Pump();
        EXPECT_EQ(m_dialog->EndCode(), IDCANCEL) << c.name;
    }
}

TEST_F(MainDialog, DuringARunNoWayOfClosingWorksAndTheRunGoesOn)
{
    StandinTool tool;
    const CString first = tool.Script(L"first.exe", "sleep 100\nout one\n");
    const CString second = tool.Script(L"second.exe", "sleep 100\nout two\n");
    Open(tool.Path().Str());
    SetWindowTextW(Item(IDC_FILE_LIST), (first + L"\r\n" + second).Str().c_str());
    SetFocus(Item(IDC_FILE_LIST));

    // Queued before the click, so the run's own message pumping is what meets them.
    PostMessageW(Item(IDC_FILE_LIST), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(Window(), WM_CLOSE, 0, 0);
    PostMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDOK)));
    Click(IDOK);

    EXPECT_FALSE(m_dialog->EndCode());
    EXPECT_EQ(Text(IDC_LOG), L"Starting...\r\none\r\n\r\ntwo\r\n\r\nFinished!");
    EXPECT_EQ(tool.JournalCalls().size(), 2u) << "the queued second click of Sign started no second run";
    EXPECT_TRUE(IsWindowEnabled(Item(IDOK)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDCANCEL)));

    PostMessageW(Window(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(m_dialog->EndCode(), IDCANCEL) << "after the run, closing works again";
}

TEST_F(MainDialog, AfterSaveOrChoosingTheToolTheKeyboardIsBackInTheList)
{
    Open();
    SetWindowTextW(Item(IDC_FILE_LIST), L"C:\\a.exe\r\nC:\\b.exe");
    SendMessageW(Item(IDC_FILE_LIST), EM_SETSEL, 4, 4);
    for (const int button : {IDC_SAVE, IDC_BROWSE})
    {
        SetFocus(Item(button));
        DialogWatcher cancels(GetCurrentThreadId(), L"", IDCANCEL, Window());
        Click(button);
        ASSERT_TRUE(cancels.Finish()) << "no file dialog appeared for button " << button;
        Pump();
        EXPECT_EQ(GetFocus(), Item(IDC_FILE_LIST)) << "Enter would press button " << button << " again";
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(Item(IDC_FILE_LIST), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(std::vector<DWORD>({start, end}), std::vector<DWORD>({4, 4}))
            << "the next key typed would replace the list";
    }
}

// While the first file is being signed, Windows asks whether the session may end (the user signs out).
TEST_F(MainDialog, ASessionMayNotEndDuringARunAndMayAtOnceAfterIt)
{
    StandinTool tool;
    const fs::path firstEnds = m_folder / L"first may end";
    Open(tool.Path().Str());
    SetWindowTextW(Item(IDC_FILE_LIST),
                   tool.Script(L"first.exe", "await " + firstEnds.string() + "\n").Str().c_str());
    LRESULT duringTheRun = -1;
    std::thread windows(
        [&]
        {
            Eventually([&] { return tool.JournalCalls().size() == 1; });
            // Answered at the run's next pump, while the run still lasts; the answer comes back to this
            // thread.
            SendMessageCallbackW(
                Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                [](HWND, UINT, ULONG_PTR answer, LRESULT result)
                { *reinterpret_cast<LRESULT*>(answer) = result; },
                reinterpret_cast<ULONG_PTR>(&duringTheRun));
            WriteBytes(firstEnds, "");
            Eventually(
                [&]
                {
                    MSG message;
                    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
                    return duringTheRun != -1;
                });
        });
    Click(IDOK);
    windows.join();
    EXPECT_EQ(duringTheRun, FALSE);
    EXPECT_EQ(SendMessageW(Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
}

// Windows shows the share of files done on the taskbar button; a taskbar object of the test's own is
// registered in place of the shell's.
class RecordingTaskbar : public ITaskbarList3, public IClassFactory
{
  public:
    RecordingTaskbar()
    {
        CoRegisterClassObject(__uuidof(TaskbarList), static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &m_cookie);
    }
    ~RecordingTaskbar() { CoRevokeClassObject(m_cookie); }
    std::vector<std::wstring> calls;
    bool created = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == __uuidof(IClassFactory))
            *object = static_cast<IClassFactory*>(this);
        else if (id == __uuidof(IUnknown) || id == __uuidof(ITaskbarList) || id == __uuidof(ITaskbarList2) ||
                 id == __uuidof(ITaskbarList3))
            *object = static_cast<ITaskbarList3*>(this);
        else
            return (*object = nullptr), E_NOINTERFACE;
        return S_OK;
    }
    // The object lives as long as the test: COM's counting has nothing to free.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID id, void** object) override
    {
        created = true;
        return QueryInterface(id, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND, ULONGLONG done, ULONGLONG total) override
    {
        calls.push_back(std::to_wstring(done) + L" of " + std::to_wstring(total));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND, TBPFLAG state) override
    {
        calls.push_back(state == TBPF_NOPROGRESS ? L"no progress" : L"state " + std::to_wstring(state));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

  private:
    DWORD m_cookie = 0;
};

TEST_F(MainDialog, TheTaskbarButtonShowsTheShareOfFilesDoneAndNothingOnceTheRunHasEnded)
{
    const ComApartment com;
    RecordingTaskbar taskbar;
    const CloseFirst closeFirst{m_dialog};
    StandinTool tool;
    Open(tool.Path().Str());
    SendMessageW(Window(), CTaskbarProgress::ButtonCreatedMessage(), 0, 0);
    SetWindowTextW(
        Item(IDC_FILE_LIST),
        (tool.Script(L"a.exe", "out a\n") + L"\r\n" + tool.Script(L"b.exe", "out b\n")).Str().c_str());
    Click(IDOK);
    if (!taskbar.created)
        GTEST_SKIP()
            << "this system makes the shell's own taskbar object, not the one registered in this process";
    EXPECT_EQ(taskbar.calls, (std::vector<std::wstring>{L"0 of 2", L"1 of 2", L"no progress"}));
}

// A person moves the window, makes it larger, maximizes it and closes it; opens Quorlin again; and once more
// after the monitor it was on has gone, or the place kept has been spoilt.
TEST_F(MainDialog, TheWindowOpensWhereItWasClosedUnlessThatPlaceIsGone)
{
    const auto placement = [&]
    {
        WINDOWPLACEMENT place{};
        place.length = sizeof(place);
        GetWindowPlacement(Window(), &place);
        return place;
    };
    const auto normalPlace = [&]
    {
        const RECT place = placement().rcNormalPosition;
        return std::vector<LONG>{place.left, place.top, place.right, place.bottom};
    };
    Open();
    const std::vector<LONG> opened = normalPlace();
    SetWindowPos(Window(), nullptr, opened[0] + 30, opened[1] + 20, opened[2] - opened[0] + 100,
                 opened[3] - opened[1] + 50, SWP_NOZORDER | SWP_NOACTIVATE);
    const std::vector<LONG> moved = normalPlace();
    ShowWindow(Window(), SW_MAXIMIZE);
    DestroyWindow(Window());
    Open();
    EXPECT_EQ(placement().showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(normalPlace(), moved) << "restored, the window is not where it was";

    for (const wchar_t* kept : {L"-32000,-32000,-31000,-31000,96,normal", L"100,100,900,700,normal"})
    {
        DestroyWindow(Window());
        AfxGetApp()->WriteProfileString(L"Settings", L"WindowPlacement", kept);
        Open();
        EXPECT_EQ(placement().showCmd, static_cast<UINT>(SW_SHOWNORMAL))
            << ::testing::PrintToString(CString(kept));
        EXPECT_EQ(normalPlace(), opened) << ::testing::PrintToString(CString(kept));
    }
}
} // namespace
