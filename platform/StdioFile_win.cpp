#include "StdioFile.h"

#include <algorithm>

CStdioFile::CStdioFile(const CString& path, unsigned openFlags) : m_writing((openFlags & modeWrite) != 0)
{
    const DWORD access = m_writing ? GENERIC_WRITE : GENERIC_READ;
    const DWORD share = m_writing ? 0 : FILE_SHARE_READ;
    const DWORD disposition = (openFlags & modeCreateNew) ? CREATE_NEW
                              : (openFlags & modeCreate)  ? CREATE_ALWAYS
                                                          : OPEN_EXISTING;
    m_file.Attach(CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        CFileException::ThrowOsError(GetLastError());
}

std::string CStdioFile::ReadToEnd()
{
    std::string bytes;
    char buffer[64 * 1024];
    for (;;)
    {
        DWORD count = 0;
        if (!ReadFile(m_file.Get(), buffer, sizeof(buffer), &count, nullptr))
            CFileException::ThrowOsError(GetLastError());
        if (count == 0)
            return bytes;
        bytes.append(buffer, count);
    }
}

void CStdioFile::Write(std::string_view bytes)
{
    while (!bytes.empty())
    {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(m_file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
            throw CFileException(CFileException::diskFull, GetLastError());
        bytes.remove_prefix(written);
    }
}

void CStdioFile::Close()
{
    const bool flushed = !m_writing || FlushFileBuffers(m_file.Get()) != 0;
    const DWORD flushError = flushed ? ERROR_SUCCESS : GetLastError();
    const bool closed = CloseHandle(m_file.Detach()) != 0;
    if (!flushed || !closed)
        throw CFileException(CFileException::diskFull, flushed ? GetLastError() : flushError);
}
