#pragma once

// The readers' and writers' building blocks: a binary file and a file read as a text source.
// Their operations throw TIOError (core/shell/ioerror.h) with the standard text of the failure;
// the core's entry points that use them catch it with CatchIOError and give back a TResult or a
// TStatus, so the exception never reaches a caller of the core. Outside the core they serve only
// inside a writer the core runs (WriteGobArchive's member writer, WriteFileAtomic's write), whose
// TIOError the core turns into the failure it returns, and in benchmarks and tests that make
// their files.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/shell/textutils.h"

// A binary file opened for reading or writing: a read or write transfers the full count or
// throws TIOError.
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

// A file read as a text source, up to the size it had when it was opened: a file that has
// grown meanwhile ends there and reports it (ReadWholeFile reads such a file whole); one that has
// shrunk ends where it ends now. Opening it and reading it throw TIOError.
class TFileText : public TTextSource
{
  public:
    explicit TFileText(const std::string &path);
    size_t ReadAt(size_t at, char *to, size_t count) override;
    // Whether the file held more than its size when it was opened; known once the end was read.
    bool Grew() const { return Overflow; }

  private:
    TBinFile File;
    size_t Size = 0;
    // Where the next read of the file starts.
    size_t Position = 0;
    bool Overflow = false;
};
