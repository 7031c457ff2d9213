#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// A binary file opened for reading or writing whose operations throw TIOError on failure:
// a read or write transfers the full count or fails.
class TBinFile
{
  public:
    TBinFile() = default;
    ~TBinFile();
    TBinFile(const TBinFile &) = delete;
    TBinFile &operator=(const TBinFile &) = delete;

    void OpenRead(const std::string &path);
    // Creates the file, or truncates an existing one.
    void Create(const std::string &path);
    void Close();
    bool IsOpen() const { return File != nullptr; }

    int64_t Size() const;
    int64_t Position() const;
    void Seek(int64_t position);
    // Reads exactly count bytes; a short read throws "Read beyond end of file".
    void Read(void *buffer, size_t count);
    // Reads up to count bytes and returns how many were read.
    size_t ReadSome(void *buffer, size_t count);
    void Write(const void *buffer, size_t count);

  private:
    FILE *File = nullptr;
};

// The whole content of a file, as bytes.
std::string ReadWholeFile(const std::string &path);
// Writes text to path through a temporary file in the same folder, renamed over path at the
// end, so a failed write leaves the old file as it was.
void WriteFileAtomic(const std::string &path, const std::string &bytes);

bool FileExists(const std::string &path);
bool DirectoryExists(const std::string &path);
// Whether both paths name one existing file (the same path, a link, another spelling).
bool SameFile(const std::string &a, const std::string &b);
// Creates one folder level; true when it exists afterwards.
bool CreateDir(const std::string &path);
// The path of the file called name in dir, whatever the letter case of its name on disk;
// empty when there is none. dir ends with a separator.
std::string FindFileNoCase(const std::string &dir, const std::string &name);
// The part of path after its last separator.
std::string ExtractFileName(const std::string &path);
// The folder part of path, with its trailing separator.
std::string ExtractFilePath(const std::string &path);
// The extension of path from its last dot, dot included; empty when the name has none.
std::string ExtractFileExt(const std::string &path);
