#pragma once

// GOB/GOO archives: reading their directory and members, extracting and writing them. An
// archive read is a value its caller holds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/result.h"

class TBinFile;

// The 16-byte archive header as stored: "GOB ", two words the game writes as 0x14 and 12,
// and the entry count. Integers are little-endian, as on every system the program runs on.
struct TGobHeader
{
    char Signature[4];
    int32_t Word1;
    int32_t Word2;
    int32_t Count;
};

// One 136-byte directory entry. Name is a NUL-padded path relative to the game's resource
// root, with backslashes; archives written by old tools carry leftover bytes after the NUL.
struct TGobEntry
{
    int32_t Offset;
    int32_t Length;
    char Name[128];
};

constexpr int MaxGobEntries = 8192;

// An archive as read: its path, header and directory. Every operation on a member takes the
// archive it belongs to, so several archives can be open at once.
struct TGobArchive
{
    std::string Path;
    TGobHeader Header{};
    // The entries read, up to MaxGobEntries; the header's count is taken from the file
    // unchecked and may be anything.
    std::vector<TGobEntry> Entries;
    // The directory stopped at MaxGobEntries of a larger count.
    bool CountTruncated = false;

    int Count() const { return static_cast<int>(Entries.size()); }
};

// The message shown when an archive's signature test fails.
inline constexpr const char *NotAGobMessage = "File is Not A Jedi Knight GOB ?";

// Reads the header of the archive at path into archive (its directory emptied). Fails with
// NotAGobMessage when the fourth signature byte is not a space, and with the read's text when
// the file cannot be read; IsNotAGob tells the two apart, since callers show them differently.
TStatus ReadGobHeader(const std::string &path, TGobArchive &archive);
// Whether the failure text of ReadGobHeader or ReadGobArchive says the file is no archive.
bool IsNotAGob(const std::string &failure);
// Reads the directory of an accepted archive, in one read. A count of 0 or less reads nothing;
// a count above MaxGobEntries reads the first MaxGobEntries entries and sets CountTruncated. A
// count the file cannot hold keeps the whole entries that are there and then fails with "Read
// beyond end of file".
TStatus ReadGobDirectory(TGobArchive &archive);
// Header and directory in one, failing as they do.
TResult<TGobArchive> ReadGobArchive(const std::string &path);

// The entry of member index. Every operation taking a member index checks it here: an index
// outside the directory throws std::out_of_range.
const TGobEntry &GobMemberEntry(const TGobArchive &archive, int index);
// The entry's name up to its first NUL, as shown and as used for file names.
std::string GobEntryName(const TGobArchive &archive, int index);
// All 128 bytes of the entry's name field, NULs included.
std::string GobEntryRawName(const TGobArchive &archive, int index);
// A building block of the member readers, throwing TIOError as TBinFile does: opens the
// archive's file at the first byte of member index and returns the member's length. The member's
// range is checked against the file's size first, so a member reaching past the end throws
// "Read beyond end of file" before anything is allocated or created for it.
int64_t OpenGobMember(TBinFile &file, const TGobArchive &archive, int index);
// The bytes of member index, up to limit of them.
TResult<std::vector<uint8_t>> ReadGobMemberBytes(const TGobArchive &archive, int index,
                                                 size_t limit = std::numeric_limits<size_t>::max());

// Copies member index to targetDir + relPath, creating the folders of relPath (which has "/"
// separators, as MemberPathToRelative gives) below targetDir first, an existing folder being
// taken whatever its letter case. targetDir is "" or ends with "/".
TStatus ExtractGobMember(const TGobArchive &archive, int index, const std::string &targetDir,
                         const std::string &relPath);
// Copies member index to the file target, through a temporary file that replaces it at the
// end (WriteFileAtomic). The member's range is checked first, so a member reaching past the
// end fails with "Read beyond end of file" before anything is written; a copy that fails on
// the way leaves an existing target as it was.
TStatus CopyGobMemberToFile(const TGobArchive &archive, int index, const std::string &target);

constexpr size_t CopyBlockSize = 32768;
// A building block like OpenGobMember, throwing TIOError: copies count bytes from the current
// position of source to dest through one 32768-byte buffer; onBlock, when given, is told the
// size of every block moved.
void CopyFileBlock(TBinFile &source, TBinFile &dest, int64_t count,
                   const std::function<void(size_t blockSize)> &onBlock = {});

// ---- Member names ----

// The name up to its first NUL; the whole text when it has none.
std::string_view NameToFirstNul(std::string_view name);
// The rule of the extraction list: the name, up to its first NUL, contains ".cog" in lower
// case anywhere (so "x.COG" is left out and "x.cogs" is kept).
bool IsCogMemberName(std::string_view name);
// The names of all entries up to their first NUL, in directory order: an item's index in the
// list is its directory index.
std::vector<std::string> GobMemberNames(const TGobArchive &archive);
// The index of the first item of names equal to name, or -1.
int FindFirstName(const std::vector<std::string> &names, std::string_view name);
// The directory index of the first entry whose name up to its first NUL is name, or -1.
int FindGobMember(const TGobArchive &archive, std::string_view name);
// The member a user means by typed: the name as stored first, else the name with its "/" turned
// into the "\" archives store, so "cog/door.cog" finds "cog\door.cog". -1 when neither is there.
int FindTypedGobMember(const TGobArchive &archive, std::string_view typed);
// Turns a member name (up to its first NUL) into a relative file path with "/" separators.
// Refuses, with a message in error, a name that is empty, absolute, starts with a drive
// letter, climbs out of the target folder with "..", or has a part that Windows would take
// for a device or a file's stream, or cannot make (the same on every system, so an archive
// extracts alike everywhere).
[[nodiscard]] bool MemberPathToRelative(std::string_view name, std::string &relPath,
                                        std::string &error);

// ---- Writing archives ----

// The two header words the game's own archives carry.
constexpr int32_t GobWord1 = 0x14;
constexpr int32_t GobWord2 = 12;

// One member of an archive to be written: its name as stored (with backslashes) and its length.
struct TGobMemberInfo
{
    std::string Name;
    int64_t Length = 0;
};

// The header and directory of an archive whose members follow the directory back to back in
// the order given. Only lays out: a name is cut to its 128-byte field and nothing is refused,
// so damaged layouts can be made from it too; CheckGobLayout says what a real archive allows.
std::string GobDirectoryBytes(const std::vector<TGobMemberInfo> &members);
// Fails for what the reader and the format cannot hold: more than MaxGobEntries members, a name
// with no room for its NUL, an archive past the 2 GiB its offsets reach.
TStatus CheckGobLayout(const std::vector<TGobMemberInfo> &members);
// Writes member index's bytes to output (core/shell/binfile.h): exactly members[index].Length
// of them. The TIOError of a failed TBinFile operation, on output or on a file it reads, ends
// the writing, and WriteGobArchive returns its text.
using TGobMemberWriter = std::function<void(size_t index, TBinFile &output)>;
// Writes a checked archive at path: the directory, then the members by writeMember. Goes
// through a temporary file renamed over path at the end, so a failure leaves no half archive
// and an old archive of that name whole.
TStatus WriteGobArchive(const std::string &path, const std::vector<TGobMemberInfo> &members,
                        const TGobMemberWriter &writeMember);
