#include "framework/File.h"

namespace {
std::string SystemErrorText(DWORD error)
{
    char* text = nullptr;
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length != 0 ? std::string(text, length) : "Error " + std::to_string(error) + ".";
    if (text != nullptr)
        ::LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

DWORD CreationDisposition(UINT openFlags)
{
    if (!(openFlags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (openFlags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

DWORD DesiredAccess(UINT openFlags)
{
    switch (openFlags & 0x3) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}
}  // namespace

CFileException::CFileException(const std::string& fileName, const char* operation, DWORD osError)
    : m_strMessage("Unable to " + std::string(operation) + " the file " + fileName + ". " + SystemErrorText(osError))
{
}

CFile::~CFile()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
}

BOOL CFile::Open(const std::string& fileName, UINT openFlags)
{
    if (IsOpen())
        return FALSE;
    // The handle is inheritable: a child process created with inherited
    // handles while the file is open holds it as well.
    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, TRUE};
    HANDLE hFile = ::CreateFileA(fileName.c_str(), DesiredAccess(openFlags), 0, &security,
                                 CreationDisposition(openFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = hFile;
    m_strFileName = fileName;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!::ReadFile(m_hFile, buffer, count, &read, nullptr))
        Raise("read", ::GetLastError());
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    DWORD written = 0;
    if (!::WriteFile(m_hFile, buffer, count, &written, nullptr))
        Raise("write", ::GetLastError());
    // A write cut short without an error means the disk is full.
    if (written != count)
        Raise("write", ERROR_DISK_FULL);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!::SetFilePointerEx(m_hFile, distance, &position, from))
        Raise("seek in", ::GetLastError());
    return static_cast<ULONGLONG>(position.QuadPart);
}

void CFile::SetLength(ULONGLONG length)
{
    Seek(static_cast<LONGLONG>(length), begin);
    if (!::SetEndOfFile(m_hFile))
        Raise("change the length of", ::GetLastError());
}

void CFile::Close()
{
    HANDLE hFile = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(hFile))
        Raise("close", ::GetLastError());
}

void CFile::Raise(const char* operation, DWORD osError) const
{
    throw CFileException(m_strFileName, operation, osError);
}
