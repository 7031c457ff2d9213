#include "core/shell/binfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"

namespace fs = std::filesystem;

TIOError TIOError::FromErrno(int err)
{
    switch (err)
    {
    case ENOENT:
        return TIOError("File not found");
    case ENOTDIR:
        return TIOError("Path not found");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return TIOError("File access denied");
    case ENOSPC:
        return TIOError("Disk full");
    default:
        char text[32];
        std::snprintf(text, sizeof text, "I/O error %d", err);
        return TIOError(text);
    }
}

#ifdef _WIN32
TIOError TIOError::FromSystemError(unsigned long code)
{
    switch (code)
    {
    case ERROR_FILE_NOT_FOUND:
    // A name no file can have ("*.cog" that matched nothing) names no file.
    case ERROR_INVALID_NAME:
        return TIOError("File not found");
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
        return TIOError("Path not found");
    case ERROR_ACCESS_DENIED:
        return TIOError("File access denied");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return TIOError("File in use by another program");
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return TIOError("Disk full");
    default:
        char text[32];
        std::snprintf(text, sizeof text, "I/O error %lu", code);
        return TIOError(text);
    }
}
#endif

namespace {
FILE *OpenFile(const std::string &path, const char *mode)
{
#ifdef _WIN32
    _doserrno = 0;
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(ToPath(path).c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// The failure of the last OpenFile. On Windows the system's own error tells a missing folder
// from a missing file, and a file held by another program from a forbidden one, which errno
// does not.
TIOError OpenError()
{
#ifdef _WIN32
    if (_doserrno != 0)
        return TIOError::FromSystemError(_doserrno);
#endif
    return TIOError::FromErrno(errno);
}
} // namespace

TBinFile::~TBinFile()
{
    if (File)
        std::fclose(File);
}

void TBinFile::OpenRead(const std::string &path)
{
    Close();
    std::error_code ec;
    if (fs::is_directory(ToPath(path), ec))
        throw TIOError("File access denied");
    File = OpenFile(path, "rb");
    if (!File)
        throw OpenError();
}

void TBinFile::Create(const std::string &path)
{
    Close();
    File = OpenFile(path, "wb");
    if (!File)
        throw OpenError();
}

void TBinFile::Close()
{
    if (!File)
        return;
    const int failed = std::fclose(File);
    File = nullptr;
    if (failed != 0)
        throw TIOError::FromErrno(errno);
}

int64_t TBinFile::Size() const
{
#ifdef _WIN32
    struct _stat64 info;
    if (_fstat64(_fileno(File), &info) != 0)
        throw TIOError::FromErrno(errno);
#else
    struct stat info;
    if (fstat(fileno(File), &info) != 0)
        throw TIOError::FromErrno(errno);
#endif
    return static_cast<int64_t>(info.st_size);
}

int64_t TBinFile::Position() const
{
#ifdef _WIN32
    return _ftelli64(File);
#else
    return ftello(File);
#endif
}

void TBinFile::Seek(int64_t position)
{
    if (position < 0)
        throw TIOError("I/O error 131");
#ifdef _WIN32
    const int failed = _fseeki64(File, position, SEEK_SET);
#else
    const int failed = fseeko(File, static_cast<off_t>(position), SEEK_SET);
#endif
    if (failed != 0)
        throw TIOError::FromErrno(errno);
}

void TBinFile::Read(void *buffer, size_t count)
{
    if (ReadSome(buffer, count) != count)
        throw TIOError::ReadBeyondEnd();
}

size_t TBinFile::ReadSome(void *buffer, size_t count)
{
    if (count == 0)
        return 0;
    const size_t got = std::fread(buffer, 1, count, File);
    if (got != count && std::ferror(File))
        throw TIOError::FromErrno(errno);
    return got;
}

void TBinFile::Write(const void *buffer, size_t count)
{
    if (count == 0)
        return;
    if (std::fwrite(buffer, 1, count, File) != count)
        throw TIOError::FromErrno(errno ? errno : ENOSPC);
}

TFileText::TFileText(const std::string &path)
{
    File.OpenRead(path);
    const int64_t size = File.Size();
    Size = static_cast<size_t>(size > 0 ? size : 0);
}

size_t TFileText::ReadAt(size_t at, char *to, size_t count)
{
    if (at != Position)
    {
        File.Seek(static_cast<int64_t>(at));
        Position = at;
    }
    if (at >= Size)
    {
        // One byte more than the size shows whether the file grew.
        char probe;
        if (at == Size && File.ReadSome(&probe, 1) == 1)
        {
            Overflow = true;
            ++Position;
        }
        return 0;
    }
    const size_t got = File.ReadSome(to, std::min(count, Size - at));
    Position += got;
    return got;
}
