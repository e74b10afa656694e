#pragma once

#include "framework/Afx.h"

#include <exception>

// An input or output error on a file that was opened: which file, which
// operation and the system's error code, so that the report tells the user
// what failed and where.
class CFileException : public std::exception {
public:
    CFileException(const std::string& fileName, const char* operation, DWORD osError);

    const char* what() const noexcept override { return m_strMessage.c_str(); }

private:
    std::string m_strMessage;
};

// A file handle. A failed open is only a FALSE result; every later failure,
// and a write cut short, raises CFileException. The destructor closes a file
// that is still open and never throws.
class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };
    enum SeekPosition : UINT { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

    CFile() = default;
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Without a share flag the file is opened exclusively as well: nobody
    // else, in this process or another, may open it until it is closed.
    virtual BOOL Open(const std::string& fileName, UINT openFlags);
    // The number of bytes read; fewer than asked for only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    // Cuts or extends the file; the position moves to the new end.
    virtual void SetLength(ULONGLONG length);
    virtual void Close();

    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

protected:
    [[noreturn]] void Raise(const char* operation, DWORD osError) const;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_strFileName;
};
