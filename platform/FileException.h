#pragma once

// A failed file operation: the cause, one of the codes below, and the system's error number behind it.
class CFileException
{
  public:
    enum Cause
    {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException(int cause, unsigned long osError) : m_cause(cause), m_lOsError(osError) {}

    // The cause that stands for a Windows error code; genericException for any it does not name.
    static int OsErrorToException(unsigned long osError);
    // Throws the failure of a system call that failed with osError, with the cause that stands for it.
    [[noreturn]] static void ThrowOsError(unsigned long osError);

    int m_cause;
    unsigned long m_lOsError;
};
