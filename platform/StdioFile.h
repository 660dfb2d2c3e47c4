#pragma once

#include "CString.h"
#include "FileException.h"
#include "UniqueHandle.h"

#include <string>
#include <string_view>

// A file opened for reading, or created (or truncated) for writing, with no sharing while it is being
// written; modeCreateNew makes a file that must not exist yet, and fails with ERROR_FILE_EXISTS where one
// does. Every failure raises CFileException; a failed write or close is reported as diskFull. The bytes are
// passed as they are: the list-file format does its own line-break and character translation, because it
// chooses the encoding per file.
class CStdioFile
{
  public:
    enum OpenFlags : unsigned
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
        modeCreateNew = 0x100000,
    };

    CStdioFile(const CString& path, unsigned openFlags);

    std::string ReadToEnd();
    void Write(std::string_view bytes);
    // Flushes and closes; the destructor closes without reporting for a file not closed by then.
    void Close();

  private:
    UniqueHfile m_file;
    bool m_writing;
};
