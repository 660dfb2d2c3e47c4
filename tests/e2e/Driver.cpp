#include "Driver.h"

#include "Png.h"
#include "ui/resource.h"
#include "windows/Eventually.h"
#include "windows/WindowText.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace
{
HWND FindDialog(DWORD processId, HWND skip, const std::wstring& caption, HWND skipAlso = nullptr)
{
    for (const HWND window : VisibleWindows(processId))
        if (window != skip && window != skipAlso && ClassName(window) == L"#32770" &&
            (caption.empty() || ControlText(window) == caption))
            return window;
    return nullptr;
}

void ReleaseScreenDc(HDC dc)
{
    ReleaseDC(nullptr, dc);
}

using UniqueScreenDc = UniqueResource<HDC, &ReleaseScreenDc>;
using UniqueMemoryDc = UniqueResource<HDC, &::DeleteDC>;
using UniqueGdiObject = UniqueResource<HGDIOBJ, &::DeleteObject>;
using UniqueGlobal = UniqueResource<HGLOBAL, &::GlobalFree>;

// The pixels of a screen area, 32 bits each, drawn over by draw when it is given.
std::vector<std::uint32_t> Pixels(int width, int height, const std::function<void(HDC)>& draw)
{
    const UniqueScreenDc screen(GetDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    // Made before the device context, so that it is deleted after it: a bitmap still selected into a device
    // context must not be deleted.
    const UniqueGdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    const HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
    draw(memory.Get());
    GdiFlush();
    SelectObject(memory.Get(), previous);
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

// The pixels of a rectangle of the screen, as they are shown now.
std::vector<std::uint32_t> ScreenPixels(int x, int y, int width, int height)
{
    return Pixels(width, height,
                  [&](HDC dc)
                  {
                      const UniqueScreenDc screen(GetDC(nullptr));
                      BitBlt(dc, 0, 0, width, height, screen.Get(), x, y, SRCCOPY);
                  });
}

// The pixels of a top-level window as it draws itself, whatever lies in front of it on the screen: the whole
// window, or its client area alone. Wine draws nothing into a device context of another process; there the
// window's place on the screen is read instead, where Wine keeps the window that is being driven in front.
std::vector<std::uint32_t> WindowPixels(HWND window, bool clientOnly, RECT& area)
{
    POINT origin{0, 0};
    if (clientOnly)
    {
        GetClientRect(window, &area);
        ClientToScreen(window, &origin);
    }
    else
    {
        GetWindowRect(window, &area);
        origin = {area.left, area.top};
        OffsetRect(&area, -area.left, -area.top);
    }
    constexpr std::uint32_t kUnpainted = 0x00FE01FE;
    std::vector<std::uint32_t> pixels =
        Pixels(area.right, area.bottom,
               [&](HDC dc)
               {
                   const UniqueGdiObject brush(CreateSolidBrush(RGB(0xFE, 0x01, 0xFE)));
                   FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
                   PrintWindow(window, dc, (clientOnly ? PW_CLIENTONLY : 0) | PW_RENDERFULLCONTENT);
               });
    if (std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t pixel) { return pixel == kUnpainted; }))
    {
        // The window and its controls finish what they have yet to paint before the screen is read.
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pixels = ScreenPixels(origin.x, origin.y, area.right, area.bottom);
    }
    return pixels;
}

// How many pixels of two pictures of the same size differ by more than a little in some colour channel. The
// box draws its icon under its own visual styles and scaling, which may shade an edge otherwise than this
// program does.
std::size_t PixelsApart(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    constexpr int kTolerance = 48;
    std::size_t apart = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (const int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                         static_cast<int>((b[i] >> shift) & 0xFF)) > kTolerance)
            {
                ++apart;
                break;
            }
    return apart;
}

// Which of the system's message-box icons a static control shows, or Other when the control shows none of
// them yet. Icon handles do not cross processes under Wine, so the control's picture is compared with each
// system icon drawn on the same background, and the closest one that nearly matches is taken; the picture is
// the box's own drawing, so that a window in front of the box hides nothing.
SeenWindow::Icon ShownIcon(HWND iconControl)
{
    const HWND box = GetAncestor(iconControl, GA_ROOT);
    RECT boxArea{};
    GetWindowRect(box, &boxArea);
    RECT area{};
    GetWindowRect(iconControl, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    RECT whole{};
    const std::vector<std::uint32_t> boxPixels = WindowPixels(box, false, whole);
    std::vector<std::uint32_t> shown;
    for (int row = area.top - boxArea.top; row < area.bottom - boxArea.top; ++row)
    {
        const auto first = boxPixels.begin() + row * whole.right + (area.left - boxArea.left);
        shown.insert(shown.end(), first, first + width);
    }
    const std::uint32_t background = shown.back();
    const struct
    {
        const wchar_t* id;
        SeenWindow::Icon icon;
    } candidates[] = {{IDI_INFORMATION, SeenWindow::Icon::Information},
                      {IDI_WARNING, SeenWindow::Icon::Warning},
                      {IDI_ERROR, SeenWindow::Icon::Error}};
    SeenWindow::Icon closest = SeenWindow::Icon::Other;
    // Nearly: at most one pixel in twenty apart.
    std::size_t fewestApart = shown.size() / 20 + 1;
    for (const auto& candidate : candidates)
    {
        const std::vector<std::uint32_t> drawn =
            Pixels(width, height,
                   [&](HDC dc)
                   {
                       const UniqueGdiObject brush(CreateSolidBrush(
                           RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF)));
                       const RECT all{0, 0, width, height};
                       FillRect(dc, &all, static_cast<HBRUSH>(brush.Get()));
                       DrawIconEx(dc, 0, 0, LoadIconW(nullptr, candidate.id), 0, 0, 0, nullptr, DI_NORMAL);
                   });
        const std::size_t apart = PixelsApart(drawn, shown);
        if (apart < fewestApart)
        {
            fewestApart = apart;
            closest = candidate.icon;
        }
    }
    return closest;
}

// The icon of a message box: a box that has one may not have painted it yet, so its picture is read again
// until it is one of the system's, for at most a few seconds.
SeenWindow::Icon IconOf(HWND iconControl)
{
    if (!SendMessageW(iconControl, STM_GETICON, 0, 0))
        return SeenWindow::Icon::None;
    SeenWindow::Icon icon = ShownIcon(iconControl);
    for (int tries = 0; tries < 200 && icon == SeenWindow::Icon::Other; ++tries)
    {
        Sleep(25);
        icon = ShownIcon(iconControl);
    }
    return icon;
}

SeenWindow Read(HWND window)
{
    SeenWindow seen;
    seen.window = window;
    seen.caption = ControlText(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) != L"Static" || !IsWindowVisible(child))
            continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            seen.icon = IconOf(child);
        else if (seen.text.empty())
            seen.text = ControlText(child);
    }
    return seen;
}

// The first of a window's descendants, at any depth, that is wanted.
HWND FindDescendant(HWND window, const std::function<bool(HWND)>& wanted)
{
    struct Search
    {
        const std::function<bool(HWND)>& wanted;
        HWND found = nullptr;
    } search{wanted};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context)
        {
            auto& search = *reinterpret_cast<Search*>(context);
            if (!search.wanted(child))
                return TRUE;
            search.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A dialog's button: among its children, or deeper, as where a task dialog keeps its buttons.
HWND FindButton(HWND dialog, int buttonId)
{
    if (const HWND child = GetDlgItem(dialog, buttonId))
        return child;
    return FindDescendant(dialog, [&](HWND window)
                          { return GetDlgCtrlID(window) == buttonId && ClassName(window) == L"Button"; });
}

// What a button's click sends. A message box and a file dialog take the button's command from their own
// child. A task dialog, which Windows draws inside hosts of its own, is answered by its own message, which
// needs no knowledge of its tree.
void PostButton(HWND dialog, int buttonId)
{
    if (const HWND child = GetDlgItem(dialog, buttonId))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(child));
    else
        PostMessageW(dialog, TDM_CLICK_BUTTON, static_cast<WPARAM>(buttonId), 0);
}

// The file-name box of a common file dialog, by its documented control identifier: the combo box cmb13,
// whose edit Windows' own dialog keeps below it, or the edit edt1, as Wine's dialog has it.
HWND FindFileNameBox(HWND dialog)
{
    const auto withId = [&](int id)
    { return FindDescendant(dialog, [&](HWND window) { return GetDlgCtrlID(window) == id; }); };
    if (const HWND combo = withId(cmb13))
    {
        const HWND edit = FindDescendant(combo, [](HWND window) { return ClassName(window) == L"Edit"; });
        return edit ? edit : combo;
    }
    return withId(edt1);
}
} // namespace

QuorlinProcess::QuorlinProcess(const std::filesystem::path& program, const std::wstring& arguments,
                               const std::filesystem::path& folder)
{
    std::wstring commandLine =
        L"\"" + program.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return;
    m_process.Attach(process.hProcess);
    m_thread.Attach(process.hThread);
    m_processId = process.dwProcessId;
    Eventually([&] { return (m_window = FindDialog(m_processId, nullptr, L"SignTool GUI")) != nullptr; },
               10000);
}

QuorlinProcess::~QuorlinProcess()
{
    if (!m_process)
        return;
    if (!HasExited() && m_window)
    {
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        WaitForExit(10000);
    }
    if (!HasExited())
        TerminateProcess(m_process.Get(), 1);
}

std::wstring QuorlinProcess::Text(int controlId) const
{
    return ControlText(Item(controlId));
}

void QuorlinProcess::Type(int controlId, const std::wstring& text) const
{
    SendMessageW(Item(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void QuorlinProcess::TypeKeys(int controlId, const std::wstring& text) const
{
    for (const wchar_t c : text)
        PostMessageW(Item(controlId), WM_CHAR, c, 1);
}

void QuorlinProcess::PutCaretAtEnd(int controlId) const
{
    const WPARAM end = static_cast<WPARAM>(SendMessageW(Item(controlId), WM_GETTEXTLENGTH, 0, 0));
    PostMessageW(Item(controlId), EM_SETSEL, end, static_cast<LPARAM>(end));
}

bool QuorlinProcess::Paste(int controlId, const std::wstring& text) const
{
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!block)
        return false;
    auto* copy = static_cast<wchar_t*>(GlobalLock(block.Get()));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, copy);
    GlobalUnlock(block.Get());
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    // The clipboard owns the text once it has taken it.
    const bool taken = SetClipboardData(CF_UNICODETEXT, block.Get()) != nullptr;
    if (taken)
        block.Detach();
    CloseClipboard();
    if (taken)
        PostMessageW(Item(controlId), WM_PASTE, 0, 0);
    return taken;
}

bool QuorlinProcess::IsEnabled(int controlId) const
{
    return IsWindowEnabled(Item(controlId)) != FALSE;
}

void QuorlinProcess::Click(int controlId) const
{
    PostButton(m_window, controlId);
}

void QuorlinProcess::PressKey(int controlId, UINT virtualKey) const
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(Item(controlId), WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(Item(controlId), WM_KEYUP, virtualKey, scan | 0xC0000001);
}

void QuorlinProcess::PostToWindow(UINT message, WPARAM w, LPARAM l) const
{
    PostMessageW(m_window, message, w, l);
}

bool QuorlinProcess::WaitUntilPostsHandled() const
{
    // A thread takes the messages posted to it in the order they came, so once a limit posted now is in
    // force, everything posted before it has been handled. The limit is that of the read-only tool path,
    // which nobody types into and which Quorlin sets whole; the log's is Quorlin's own, lifted for a long
    // run.
    static UINT next = 1000000;
    const UINT limit = next++;
    PostMessageW(Item(IDC_TOOL_PATH), EM_SETLIMITTEXT, limit, 0);
    return Eventually(
        [&] { return static_cast<UINT>(SendMessageW(Item(IDC_TOOL_PATH), EM_GETLIMITTEXT, 0, 0)) == limit; });
}

std::optional<SeenWindow> QuorlinProcess::WaitForWindow(const std::wstring& caption, HWND except,
                                                        DWORD milliseconds) const
{
    HWND found = nullptr;
    if (!Eventually([&] { return (found = FindDialog(m_processId, m_window, caption, except)) != nullptr; },
                    milliseconds))
        return std::nullopt;
    // Answered once the window's thread is back in its message loop: its initialisation is done.
    SendMessageW(found, WM_NULL, 0, 0);
    return Read(found);
}

bool QuorlinProcess::HasButton(const SeenWindow& box, int buttonId)
{
    return FindButton(box.window, buttonId) != nullptr;
}

bool QuorlinProcess::Press(const SeenWindow& box, int buttonId)
{
    PostButton(box.window, buttonId);
    return Eventually([&] { return !IsWindow(box.window); }, 10000);
}

void QuorlinProcess::ChooseFile(const SeenWindow& dialog, const std::wstring& path)
{
    SendMessageW(FindFileNameBox(dialog.window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostButton(dialog.window, IDOK);
}

std::vector<HWND> QuorlinProcess::VisibleWindows() const
{
    return ::VisibleWindows(m_processId);
}

bool QuorlinProcess::WaitForExit(DWORD milliseconds) const
{
    return m_process && WaitForSingleObject(m_process.Get(), milliseconds) == WAIT_OBJECT_0;
}

bool QuorlinProcess::SaveScreenshot(const std::filesystem::path& path) const
{
    // The client area: the frame and caption are the window manager's, and there may be none.
    if (!IsWindow(m_window))
        return false;
    RECT client{};
    const std::vector<std::uint32_t> pixels = WindowPixels(m_window, true, client);
    return WritePng(path, client.right, client.bottom, pixels);
}

UniqueWindow ShowForegroundWindow()
{
    UniqueWindow window(CreateWindowExW(0, L"Static", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                        0, 320, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    SetForegroundWindow(window.Get());
    return window;
}

std::optional<std::wstring> ReadUserString(const std::wstring& key, const wchar_t* name)
{
    wchar_t text[4096] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}
