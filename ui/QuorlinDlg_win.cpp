#include "QuorlinDlg.h"

#include "../listfile/ListFile.h"
#include "../platform/DropFiles.h"
#include "../platform/Menu.h"
#include "../platform/PaintDC.h"
#include "../platform/WinApp.h"
#include "../platform/WindowPlacement.h"
#include "../toolpath/SystemToolLocation.h"
#include "AboutDlg.h"
#include "FileDrop.h"
#include "MinimizedIcon.h"
#include "resource.h"

#include <utility>

namespace
{
// Posted once Windows has handled a new DPI, when the controls are laid out anew.
constexpr UINT WM_LAYOUT_AFTER_DPI_CHANGE = WM_APP;

// Where the window's place is kept, beside the tool path.
constexpr wchar_t kPlacementEntry[] = L"WindowPlacement";

// How the controls follow the window's size: the list and the log take all the extra width and share the
// extra height; Clear and Save stay under the list at its left and right; the tool path and "..." stay under
// the log, "..." at the right edge; the command line stays under them; Sign stays centred at the bottom, and
// the hidden Close at the bottom right. Each number is the share of the room beyond the template's size, in
// halves, by which that edge moves.
// clang-format off
constexpr ControlAnchor kLayout[] = {
    // control          left  top  right  bottom
    {IDC_FILE_LIST,      0,    0,    2,     1},
    {IDC_CLEAR,          0,    1,    0,     1},
    {IDC_SAVE,           2,    1,    2,     1},
    {IDC_LOG,            0,    1,    2,     2},
    {IDC_TOOL_PATH,      0,    2,    2,     2},
    {IDC_BROWSE,         2,    2,    2,     2},
    {IDC_STATIC,         0,    2,    2,     2}, // the command line
    {IDOK,               1,    2,    1,     2},
    {IDCANCEL,           2,    2,    2,     2},
};
// clang-format on
} // namespace

const MessageMapEntry<CQuorlinDlg> CQuorlinDlg::kMessageMap[] = {
    OnWmSysCommand<&CQuorlinDlg::OnSysCommand>(),
    OnWmPaint<&CQuorlinDlg::OnPaint>(),
    OnWmQueryDragIcon<&CQuorlinDlg::OnQueryDragIcon>(),
    OnEnChange<&CQuorlinDlg::OnFileListChange>(IDC_FILE_LIST),
    OnBnClicked<&CQuorlinDlg::OnSign>(IDOK),
    OnWmDropFiles<&CQuorlinDlg::OnDropFiles>(),
    OnBnClicked<&CQuorlinDlg::OnSave>(IDC_SAVE),
    OnBnClicked<&CQuorlinDlg::OnClear>(IDC_CLEAR),
    OnBnClicked<&CQuorlinDlg::OnBrowse>(IDC_BROWSE),
    OnEnChange<&CQuorlinDlg::OnToolPathChange>(IDC_TOOL_PATH),
    OnWmDestroy<&CQuorlinDlg::OnDestroy>(),
    OnWmQueryEndSession<&CQuorlinDlg::OnQueryEndSession>(),
    OnWmSize<&CQuorlinDlg::OnSize>(),
    OnWmGetMinMaxInfo<&CQuorlinDlg::OnGetMinMaxInfo>(),
    OnWmDpiChanged<&CQuorlinDlg::OnDpiChanged>(),
    OnPrivateMessage<WM_LAYOUT_AFTER_DPI_CHANGE, &CQuorlinDlg::OnSize>(),
};

CQuorlinDlg::CQuorlinDlg()
    : CDialogEx(IDD_MAIN_DIALOG),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

bool CQuorlinDlg::OnMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result)
{
    // A registered message has no number until the program runs, so it has no place in the map.
    if (message == CTaskbarProgress::ButtonCreatedMessage())
    {
        m_taskbar.OnButtonCreated(m_hWnd);
        return true;
    }
    return DispatchMessageMap<CQuorlinDlg>(*this, kMessageMap, message, w, l, result) ||
           CDialogEx::OnMessage(message, w, l, result);
}

void CQuorlinDlg::DoDataExchange(CDataExchange* exchange)
{
    DDX_Text(exchange, IDC_FILE_LIST, m_fileListText);
    DDX_Text(exchange, IDC_LOG, m_logText);
    DDX_Text(exchange, IDC_TOOL_PATH, m_toolPath);
    DDX_Control(exchange, IDC_LOG, m_logEdit);
}

BOOL CQuorlinDlg::OnInitDialog()
{
    // Before the base class's first push, so that the tool path edit shows what was found.
    LocateSigningTool();
    CDialogEx::OnInitDialog();
    m_layout.Create(m_hWnd, kLayout);
    if (const CWinApp* application = AfxGetApp())
        if (const std::optional<SavedPlacement> placement =
                PlacementFromText(application->GetProfileString(kProfileSection, kPlacementEntry, L"").Str()))
            RestoreWindowPlacement(m_hWnd, *placement);
    // An edit takes at most 32,767 typed characters until told otherwise; an opened list may hold more, and
    // the log of a long run far more, which is added to it part by part.
    SendDlgItemMessageW(m_hWnd, IDC_FILE_LIST, EM_SETLIMITTEXT, 0, 0);
    SendDlgItemMessageW(m_hWnd, IDC_LOG, EM_SETLIMITTEXT, 0, 0);
    DragAcceptFiles(m_hWnd, TRUE);
    m_taskbar.AcceptButtonCreated(m_hWnd);
    // The dialog has no labels: without these a screen reader would announce "edit", "edit", "edit" and
    // "dot dot dot button".
    m_accessibleNames.SetName(::GetDlgItem(m_hWnd, IDC_FILE_LIST), L"Files to sign");
    m_accessibleNames.SetName(::GetDlgItem(m_hWnd, IDC_LOG), L"Signing log");
    m_accessibleNames.SetName(::GetDlgItem(m_hWnd, IDC_TOOL_PATH), L"Signing tool");
    m_accessibleNames.SetName(::GetDlgItem(m_hWnd, IDC_BROWSE), L"Choose the signing tool");
    if (const HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE))
    {
        const CString aboutText = LoadStringResource(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty())
        {
            CMenu menu(systemMenu);
            menu.AppendMenuW(MF_SEPARATOR);
            menu.AppendMenuW(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    // Typing goes to the list from the start; the dialog manager would give the focus to Sign.
    ::SetFocus(GetDlgItem(IDC_FILE_LIST).m_hWnd);
    return FALSE;
}

void CQuorlinDlg::LocateSigningTool()
{
    SystemToolLocation system;
    m_toolPath = FindSigningTool(system);
}

void CQuorlinDlg::PullFileList()
{
    m_fileListText = GetDlgItem(IDC_FILE_LIST).GetWindowTextW();
}

void CQuorlinDlg::LoadListFile(const CString& path)
{
    // A list of a hundred thousand lines takes a while.
    const CWaitCursor busy;
    if (ReadListFile(path, m_fileListText, m_files))
        m_listReplaced = true;
}

void CQuorlinDlg::ShowListFrom(bool end)
{
    const HWND list = GetDlgItem(IDC_FILE_LIST).m_hWnd;
    const int at = end ? GetWindowTextLengthW(list) : 0;
    SendMessageW(list, EM_SETSEL, at, at);
    SendMessageW(list, EM_SCROLLCARET, 0, 0);
}

void CQuorlinDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg about;
        about.DoModal();
    }
    else
        Default();
}

void CQuorlinDlg::OnPaint()
{
    if (!IsIconic(m_hWnd))
    {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const IconOrigin origin =
        CentredIconOrigin(client.right - client.left, client.bottom - client.top, iconWidth, iconHeight);
    DrawIcon(dc.GetSafeHdc(), origin.x, origin.y, m_hIcon);
}

HCURSOR CQuorlinDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CQuorlinDlg::OnSign()
{
    RunSigning(*this);
}

void CQuorlinDlg::OnDropFiles(HDROP drop)
{
    UniqueDrop dropped(drop);
    // Lines typed since the last exchange are part of the list the user drops onto; a list file that cannot
    // be read then leaves them shown.
    PullFileList();
    const std::vector<CString> names = DroppedFileNames(drop);
    if (const std::optional<CString> listFile = FirstListFile(names))
    {
        // Showing a long list takes longer than reading it.
        const CWaitCursor busy;
        LoadListFile(*listFile);
        dropped.Close();
        UpdateData(FALSE);
        ShowListFrom(false);
        return;
    }
    m_fileListText = AppendDroppedNames(m_fileListText, names, m_files, m_signing);
    dropped.Close();
    UpdateData(FALSE);
    // The names just added, at the end of what may be a long list.
    ShowListFrom(true);
    Default();
}

void CQuorlinDlg::OnSave()
{
    PullFileList();
    SaveListWithDialog(m_fileListText);
    GiveTheKeyboardToTheList();
}

void CQuorlinDlg::OnClear()
{
    m_fileListText.Empty();
    m_files.SetSize(0);
    m_listReplaced = true;
    UpdateData(FALSE);
    GiveTheKeyboardToTheList();
}

void CQuorlinDlg::OnBrowse()
{
    SystemToolLocation system;
    BrowseForSigningTool(*this, system);
    GiveTheKeyboardToTheList();
}

void CQuorlinDlg::GiveTheKeyboardToTheList()
{
    // On the button the keys would go nowhere, and Enter would press it again. WM_NEXTDLGCTL also gives Sign
    // back its look of the default button, which the click took; it is posted, as Windows asks where other
    // messages may move the focus meanwhile (a signing run pumps them, a closing box gives the focus back).
    const HWND list = GetDlgItem(IDC_FILE_LIST).m_hWnd;
    PostMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    // The dialog manager selects the whole list as it gives it the focus, and the next key typed would
    // replace it: the caret and selection go back to where the user left them.
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    PostMessageW(list, EM_SETSEL, start, static_cast<LPARAM>(end));
}

void CQuorlinDlg::OnDestroy()
{
    // The names belong to the controls, which go with this window.
    m_accessibleNames.WithdrawAll();
    if (CWinApp* application = AfxGetApp())
        if (const std::optional<SavedPlacement> placement = WindowPlacementOf(m_hWnd))
            application->WriteProfileString(kProfileSection, kPlacementEntry, PlacementText(*placement));
    Default();
}

BOOL CQuorlinDlg::OnQueryEndSession()
{
    return m_sessionHold.AllowsSessionEnd();
}

bool CQuorlinDlg::LogShowsItsEnd() const
{
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_ALL;
    if (!GetScrollInfo(m_logEdit.m_hWnd, SB_VERT, &scroll))
        return true;
    return scroll.nPos + static_cast<int>(scroll.nPage) > scroll.nMax;
}

void CQuorlinDlg::OnSize()
{
    // A new size keeps the log's first visible line, which may no longer show the end the user was reading.
    const bool followTheEnd = LogShowsItsEnd();
    m_layout.Adjust();
    if (followTheEnd)
        ShowTheLogsEnd();
}

void CQuorlinDlg::ShowTheLogsEnd()
{
    SendMessageW(m_logEdit.m_hWnd, WM_VSCROLL, SB_BOTTOM, 0);
}

void CQuorlinDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    m_layout.LimitMinimumSize(*info);
}

void CQuorlinDlg::OnDpiChanged(const RECT* suggested)
{
    // Windows suggests the window's place and size at the new DPI; only a dialog of the newest awareness is
    // also moved there by its dialog manager, which then scales its controls' fonts and places. The controls
    // follow the rule once it has.
    SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(m_hWnd, WM_LAYOUT_AFTER_DPI_CHANGE, 0, 0);
    Default();
}

void CQuorlinDlg::SetRunning(bool running)
{
    // Windows takes the focus from a control that is disabled and gives it to nothing: Tab, Enter, Escape and
    // typing would then go nowhere until the user clicked. The list is where the user goes on working.
    const HWND focus = ::GetFocus();
    if (running && (focus == GetDlgItem(IDOK).m_hWnd || focus == GetDlgItem(IDCANCEL).m_hWnd))
        ::SetFocus(GetDlgItem(IDC_FILE_LIST).m_hWnd);
    m_signing = running;
    GetDlgItem(IDOK).EnableWindow(!running);
    GetDlgItem(IDCANCEL).EnableWindow(!running);
    // An unattended run over many files must not lose its network to sleep, nor its files to a sign-out.
    if (running)
        m_sessionHold.Begin(m_hWnd, L"Signing files");
    else
    {
        m_sessionHold.End();
        m_taskbar.Clear();
    }
}

void CQuorlinDlg::ShowLog()
{
    m_logEdit.SetWindowTextW(m_logText);
    // The newest output, and at the end "Finished!", is what the user waits for; the new text alone would
    // show the top of the log.
    ShowTheLogsEnd();
}

void CQuorlinDlg::AppendToLog(const CString& part)
{
    const HWND log = m_logEdit.m_hWnd;
    const int shown = GetWindowTextLengthW(log);
    // A control that no longer holds the log (another program set its text) is given the whole of it.
    const bool holdsTheLog = shown == m_logText.GetLength();
    m_logText += part;
    if (!holdsTheLog)
    {
        ShowLog();
        return;
    }
    SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(shown), shown);
    SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(part)));
    ShowTheLogsEnd();
}

bool CQuorlinDlg::TakeListReplaced()
{
    return std::exchange(m_listReplaced, false);
}

void CQuorlinDlg::ShowProgress(std::size_t done, std::size_t total)
{
    m_taskbar.Show(done, total);
}

std::optional<CString> CQuorlinDlg::PickSigningTool()
{
    return PickSigningToolWithDialog();
}
