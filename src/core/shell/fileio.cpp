#include "core/shell/fileio.h"

#include <filesystem>
#include <system_error>

#include "core/shell/binfile.h"
#include "core/shell/ioerror.h"
#include "core/shell/textutils.h"

namespace fs = std::filesystem;

fs::path ToPath(const std::string &path)
{
    return fs::path(std::u8string(path.begin(), path.end()));
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
    std::error_code ec;
    fs::rename(ToPath(temp), ToPath(path), ec);
    if (ec)
    {
        removeTemp();
        return TFailure{TIOError::FromErrno(ec.value()).what()};
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
