#include "core/shell/fileio.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/shell/binfile.h"
#include "core/shell/ioerror.h"
#include "core/shell/shellrules.h"
#include "core/shell/textutils.h"

namespace fs = std::filesystem;

fs::path ToPath(const std::string &path)
{
#ifdef _WIN32
    // Windows names files in UTF-16, into which bytes that are no UTF-8 do not convert; they
    // are taken as the Windows-1252 text that scripts and archives hold, so a path made of
    // them names a file rather than throwing.
    try
    {
        return fs::path(std::u8string(path.begin(), path.end()));
    }
    catch (const fs::filesystem_error &)
    {
        const std::string utf8 = Utf8FromScriptBytes(path);
        return fs::path(std::u8string(utf8.begin(), utf8.end()));
    }
#else
    return fs::path(std::u8string(path.begin(), path.end()));
#endif
}

std::string FromPath(const fs::path &path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

TResult<std::string> ReadWholeFile(const std::string &path)
{
    return CatchIOError([&]() -> TResult<std::string> {
        TBinFile file;
        file.OpenRead(path);
        // The size is only a hint: a file that shrinks meanwhile gives what is there, one that
        // grows is read on to its end.
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
    });
}

namespace {
#ifdef _WIN32
// Renames from over to, replacing the file there. A file another program holds open without
// sharing its deletion (an editor, a virus scanner or an indexer reading it) cannot be
// replaced until that program lets go; such a hold is often brief, so the rename is tried
// again for half a second before it fails. The failure leaves both files as they were.
TStatus ReplaceFile(const std::string &from, const std::string &to)
{
    const std::wstring source = ToPath(from).wstring();
    const std::wstring target = ToPath(to).wstring();
    for (int attempt = 0;; ++attempt)
    {
        if (MoveFileExW(source.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {};
        const DWORD error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == 9)
            return TFailure{TIOError::FromSystemError(error).what()};
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
#else
TStatus ReplaceFile(const std::string &from, const std::string &to)
{
    std::error_code ec;
    fs::rename(ToPath(from), ToPath(to), ec);
    if (ec)
        return TFailure{TIOError::FromErrno(ec.value()).what()};
    return {};
}
#endif
} // namespace

TStatus WriteFileAtomic(const std::string &path, const std::function<void(TBinFile &)> &write)
{
    const std::string temp = path + ".qxtmp";
    const auto removeTemp = [&temp] {
        std::error_code ignored;
        fs::remove(ToPath(temp), ignored);
    };
    TStatus written;
    try
    {
        written = CatchIOError([&]() -> TStatus {
            TBinFile file;
            file.Create(temp);
            write(file);
            file.Close();
            return {};
        });
    }
    catch (...)
    {
        removeTemp();
        throw;
    }
    if (!written)
    {
        removeTemp();
        return written;
    }
    if (const TStatus replaced = ReplaceFile(temp, path); !replaced)
    {
        removeTemp();
        return replaced;
    }
    return {};
}

TStatus WriteFileAtomic(const std::string &path, const std::string &bytes)
{
    return WriteFileAtomic(path, [&](TBinFile &file) { file.Write(bytes.data(), bytes.size()); });
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

#ifdef _WIN32
namespace {
// The volume and the index of the file or folder at path, which name it whatever the path's
// spelling; false when it cannot be opened.
bool FileIdentity(const std::string &path, BY_HANDLE_FILE_INFORMATION &info)
{
    // Opened for no access, and with backup semantics, which folders need to be opened at all.
    const HANDLE handle =
        CreateFileW(ToPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return known;
}
} // namespace

bool SameFile(const std::string &a, const std::string &b)
{
    // std::filesystem::equivalent of the compilers for Windows cannot open folders, and takes
    // two folders for different ones.
    BY_HANDLE_FILE_INFORMATION infoA;
    BY_HANDLE_FILE_INFORMATION infoB;
    return FileIdentity(a, infoA) && FileIdentity(b, infoB) &&
           infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
           infoA.nFileIndexLow == infoB.nFileIndexLow;
}
#else
bool SameFile(const std::string &a, const std::string &b)
{
    std::error_code ec;
    return fs::equivalent(ToPath(a), ToPath(b), ec) && !ec;
}
#endif

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
// or (not folder) a file, spelled as on disk; empty when there is none.
std::string FindEntryNoCase(const std::string &dir, const std::string &name, bool folder)
{
    const auto wanted = [folder](const fs::path &path) {
        std::error_code ec;
        return folder ? fs::is_directory(path, ec) : fs::is_regular_file(path, ec);
    };
#ifdef _WIN32
    // The system finds the entry whatever its letter case (in all of Unicode, not only in
    // ASCII); its directory entry gives the spelling on disk, which the caller shows and
    // compares. A name with wildcards would match other entries, and names none.
    if (name.empty() || name.find_first_of("*?") != std::string::npos)
        return {};
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(ToPath(dir + name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    FindClose(search);
    const std::string onDisk = FromPath(fs::path(found.cFileName));
    return wanted(ToPath(dir + onDisk)) ? dir + onDisk : std::string();
#else
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
#endif
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

std::string FolderPrefix(const std::string &folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder;
#ifdef _WIN32
    if (folder.back() == '\\' || (folder.size() == 2 && folder[1] == ':'))
        return folder;
#endif
    return folder + "/";
}

std::string ExtractFileExt(const std::string &path)
{
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}
