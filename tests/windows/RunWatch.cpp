#include "RunWatch.h"

#include "WindowText.h"
#include "platform/CodePage.h"
#include "platform/UniqueHandle.h"

#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
std::string Printable(std::wstring_view text)
{
    return Utf8FromWide(text).value_or("(a text that does not convert)");
}

// Opened with every sharing mode, so the stand-in's appends never meet a sharing conflict.
std::size_t CallsInJournal(const std::filesystem::path& journal)
{
    const UniqueHfile file(CreateFileW(journal.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::size_t calls = 0;
    char buffer[4096];
    DWORD count = 0;
    while (file && ReadFile(file.Get(), buffer, sizeof(buffer), &count, nullptr) && count > 0)
        calls += static_cast<std::size_t>(std::count(buffer, buffer + count, '\n'));
    return calls;
}

// A window's text, given up on when its thread does not answer: a stalled run may be what holds it.
std::string TextOf(HWND window)
{
    wchar_t text[512] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &copied);
    return Printable(text);
}

void PrintVisibleWindows()
{
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL
        {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window))
                return TRUE;
            std::printf("  window %s \"%s\"\n", Printable(ClassName(window)).c_str(), TextOf(window).c_str());
            EnumChildWindows(
                window,
                [](HWND child, LPARAM) -> BOOL
                {
                    if (IsWindowVisible(child))
                        std::printf("    control %s \"%s\"\n", Printable(ClassName(child)).c_str(),
                                    TextOf(child).c_str());
                    return TRUE;
                },
                0);
            return TRUE;
        },
        0);
}

// Descendants, not only children: Wine starts a console host for each tool as the tool's own child, and a
// stalled run may be waiting on either.
void PrintStartedPrograms()
{
    const UniqueHfile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return;
    std::vector<PROCESSENTRY32W> processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL found = Process32FirstW(snapshot.Get(), &entry); found;
         found = Process32NextW(snapshot.Get(), &entry))
        processes.push_back(entry);
    std::vector<DWORD> family{GetCurrentProcessId()};
    for (std::size_t known = 0; known < family.size(); ++known)
        for (const PROCESSENTRY32W& process : processes)
            if (process.th32ParentProcessID == family[known] &&
                std::find(family.begin(), family.end(), process.th32ProcessID) == family.end())
            {
                family.push_back(process.th32ProcessID);
                std::printf("  program %s, process %lu, started by process %lu\n",
                            Printable(process.szExeFile).c_str(), process.th32ProcessID,
                            process.th32ParentProcessID);
            }
}
} // namespace

RunWatch::RunWatch(std::filesystem::path journal)
    : m_journal(std::move(journal)), m_thread([this] { Watch(); })
{
}

RunWatch::~RunWatch()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RunWatch::Watch()
{
    using namespace std::chrono_literals;
    std::size_t lastCalls = CallsInJournal(m_journal);
    auto lastChange = std::chrono::steady_clock::now();
    bool reportedStall = false;
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, 30s, [this] { return m_stop; }))
    {
        const std::size_t calls = CallsInJournal(m_journal);
        std::printf("  %zu calls in the journal\n", calls);
        if (calls != lastCalls)
        {
            lastCalls = calls;
            lastChange = std::chrono::steady_clock::now();
            reportedStall = false;
        }
        else if (!reportedStall && std::chrono::steady_clock::now() - lastChange >= 2min)
        {
            std::printf("  no call for two minutes; what this process shows and has started:\n");
            PrintVisibleWindows();
            PrintStartedPrograms();
            reportedStall = true;
        }
        std::fflush(stdout);
    }
}
