#include "core/shell/fileio.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

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

fs::path ToPath(const std::string &path)
{
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string FromPath(const fs::path &path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

namespace {
FILE *OpenFile(const std::string &path, const char *mode)
{
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(ToPath(path).c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
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
        throw TIOError::FromErrno(errno);
}

void TBinFile::Create(const std::string &path)
{
    Close();
    File = OpenFile(path, "wb");
    if (!File)
        throw TIOError::FromErrno(errno);
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

std::string ReadWholeFile(const std::string &path)
{
    TBinFile file;
    file.OpenRead(path);
    // The size is only a hint: a file that shrinks meanwhile gives what is there, one that grows
    // is read on to its end.
    const int64_t size = file.Size();
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    size_t got = file.ReadSome(bytes.data(), bytes.size());
    if (got < bytes.size())
    {
        bytes.resize(got);
        return bytes;
    }
    char block[4096];
    while (const size_t more = file.ReadSome(block, sizeof block))
        bytes.append(block, more);
    return bytes;
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

void WriteFileAtomic(const std::string &path, const std::function<void(TBinFile &)> &write)
{
    const std::string temp = path + ".qxtmp";
    try
    {
        TBinFile file;
        file.Create(temp);
        write(file);
        file.Close();
    }
    catch (...)
    {
        std::error_code ec;
        fs::remove(ToPath(temp), ec);
        throw;
    }
    std::error_code ec;
    fs::rename(ToPath(temp), ToPath(path), ec);
    if (ec)
    {
        std::error_code ignored;
        fs::remove(ToPath(temp), ignored);
        throw TIOError::FromErrno(ec.value());
    }
}

void WriteFileAtomic(const std::string &path, const std::string &bytes)
{
    WriteFileAtomic(path, [&](TBinFile &file) { file.Write(bytes.data(), bytes.size()); });
}

bool FileExists(const std::string &path)
{
    std::error_code ec;
    return fs::is_regular_file(ToPath(path), ec);
}

bool DirectoryExists(const std::string &path)
{
    std::error_code ec;
    return fs::is_directory(ToPath(path), ec);
}

bool SameFile(const std::string &a, const std::string &b)
{
    std::error_code ec;
    return fs::equivalent(ToPath(a), ToPath(b), ec) && !ec;
}

namespace {
// The file's entry: whether it exists, its size and time; no hash.
TFileStamp EntryStamp(const std::string &path)
{
    TFileStamp stamp;
    std::error_code ec;
    const fs::path file = ToPath(path);
    const auto size = fs::file_size(file, ec);
    if (ec)
        return stamp;
    const auto time = fs::last_write_time(file, ec);
    if (ec)
        return stamp;
    stamp.Exists = true;
    stamp.Size = static_cast<int64_t>(size);
    stamp.Modified = static_cast<int64_t>(time.time_since_epoch().count());
    return stamp;
}
} // namespace

TFileStamp FileStamp(const std::string &path, std::string_view bytes)
{
    TFileStamp stamp = EntryStamp(path);
    stamp.Hash = std::hash<std::string_view>()(bytes);
    return stamp;
}

bool FileMayHaveChanged(const std::string &path, const TFileStamp &stamp)
{
    const TFileStamp now = EntryStamp(path);
    return now.Exists != stamp.Exists || now.Size != stamp.Size || now.Modified != stamp.Modified;
}

bool CreateDir(const std::string &path)
{
    std::error_code ec;
    fs::create_directory(ToPath(path), ec);
    return DirectoryExists(path);
}

namespace {
// The entry of dir called name in any letter case, the exact spelling first, that is a folder
// or (not folder) a file; empty when there is none.
std::string FindEntryNoCase(const std::string &dir, const std::string &name, bool folder)
{
    const auto wanted = [folder](const fs::path &path) {
        std::error_code ec;
        return folder ? fs::is_directory(path, ec) : fs::is_regular_file(path, ec);
    };
    if (wanted(ToPath(dir + name)))
        return dir + name;
    std::error_code ec;
    for (fs::directory_iterator it(ToPath(dir.empty() ? "." : dir), ec), end; !ec && it != end;
         it.increment(ec))
    {
        const std::string found = FromPath(it->path().filename());
        if (SameNoCase(found, name) && wanted(it->path()))
            return dir + found;
    }
    return {};
}
} // namespace

std::string FindFileNoCase(const std::string &dir, const std::string &name)
{
    return FindEntryNoCase(dir, name, false);
}

std::string FindFolderNoCase(const std::string &dir, const std::string &name)
{
    return FindEntryNoCase(dir, name, true);
}

std::string ExtractFileName(const std::string &path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ExtractFilePath(const std::string &path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string ExtractFileExt(const std::string &path)
{
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}
