#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/shell/result.h"

class TBinFile;

// Paths are UTF-8 strings throughout the program; these turn them into the file system's paths
// and back. FromPath gives "/" separators on every system. On Windows the path is the
// system's wide string, so every file name reaches the file system, whatever the local code
// page can spell; bytes that are no UTF-8 are read as Windows-1252 there.
std::filesystem::path ToPath(const std::string &path);
std::string FromPath(const std::filesystem::path &path);

// The whole content of a file, as bytes, read into one buffer of the file's size.
TResult<std::string> ReadWholeFile(const std::string &path);
// Writes to path through a temporary file in the same folder, renamed over path at the end, so
// a failed write leaves the old file as it was and no temporary file behind. write fills the
// opened temporary file (core/shell/binfile.h); the TIOError of a failed operation on it gives
// up, and its text is the failure returned.
TStatus WriteFileAtomic(const std::string &path, const std::function<void(TBinFile &)> &write);
TStatus WriteFileAtomic(const std::string &path, const std::string &bytes);

// A file as it was when it was read or written: enough to tell later that another program
// changed it.
struct TFileStamp
{
    bool Exists = false;
    int64_t Size = 0;
    int64_t Modified = 0;
    size_t Hash = 0;
};
// The stamp of the file at path, whose bytes (just read or written) are bytes.
TFileStamp FileStamp(const std::string &path, std::string_view bytes);
// Whether the file at path may differ from stamp: it is gone, came back, or has another size
// or time. Cheap: only the file's entry is looked at. A file touched but holding the same bytes
// passes; compare FileStamp of its bytes to tell.
bool FileMayHaveChanged(const std::string &path, const TFileStamp &stamp);

bool FileExists(const std::string &path);
bool DirectoryExists(const std::string &path);
// Whether both paths name one existing file (the same path, a link, another spelling).
bool SameFile(const std::string &a, const std::string &b);
// Creates one folder level; true when it exists afterwards.
bool CreateDir(const std::string &path);
// The path of the file called name in dir, whatever the letter case of its name on disk;
// empty when there is none. dir ends with a separator.
std::string FindFileNoCase(const std::string &dir, const std::string &name);
// The same for a folder.
std::string FindFolderNoCase(const std::string &dir, const std::string &name);
// The part of path after its last separator.
std::string ExtractFileName(const std::string &path);
// The folder part of path, with its trailing separator.
std::string ExtractFilePath(const std::string &path);
// folder as the start of a path below it: with "/" added unless it ends with a separator
// already ("\\" too on Windows) or is empty; a drive alone ("C:", the current folder of
// that drive) is kept as it is on Windows.
std::string FolderPrefix(const std::string &folder);
// The extension of path from its last dot, dot included; empty when the name has none.
std::string ExtractFileExt(const std::string &path);
