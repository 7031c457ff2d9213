#include "core/gamedata/archive.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "core/shell/binfile.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"
#include "core/shell/pathcase.h"
#include "core/shell/textutils.h"

// The directory is read straight from the file into the table, so the records must have
// exactly the stored layout, little-endian integers included.
static_assert(sizeof(TGobHeader) == 16, "TGobHeader must match the 16 stored bytes");
static_assert(sizeof(TGobEntry) == 136, "TGobEntry must match the 136 stored bytes");
static_assert(std::endian::native == std::endian::little, "archives store little-endian");

namespace {
constexpr int64_t GobHeaderSize = sizeof(TGobHeader);
constexpr int64_t GobEntrySize = sizeof(TGobEntry);

// The name of entry up to its first NUL.
std::string_view EntryName(const TGobEntry &entry)
{
    return NameToFirstNul(std::string_view(entry.Name, sizeof entry.Name));
}

void PutLE32(std::string &bytes, size_t at, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(bits >> (8 * i));
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string Refusal(const char *reason, std::string_view name)
{
    return std::string(reason) + ": " + std::string(name);
}

// Whether Windows would take part as another file than its name says: a device ("CON",
// "NUL", "COM1", "LPT1" ... with any extension), a stream of a file ("a.cog:x"), or a name it
// cuts short (trailing dots and spaces); or cannot make it at all (control characters and
// < > " | ? *). The archives are made on Windows, where no file has such a name.
bool IsNameWindowsRefuses(std::string_view part)
{
    for (const char c : part)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return true;
    if (part.back() == '.' || part.back() == ' ')
        return true;
    std::string_view stem = part.substr(0, part.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    const std::string device = LowerAscii(stem);
    if (device == "con" || device == "prn" || device == "aux" || device == "nul")
        return true;
    return device.size() == 4 &&
           (device.compare(0, 3, "com") == 0 || device.compare(0, 3, "lpt") == 0) &&
           device[3] >= '1' && device[3] <= '9';
}
} // namespace

// ---- Archives ----

TStatus ReadGobHeader(const std::string &path, TGobArchive &archive)
{
    archive = TGobArchive();
    archive.Path = path;

    const TStatus read = CatchIOError([&]() -> TStatus {
        TBinFile file;
        file.OpenRead(path);
        // A file shorter than the header fills only what it has and the rest stays zero, so an
        // empty file fails the signature test below.
        file.ReadSome(&archive.Header, sizeof archive.Header);
        file.Close();
        return {};
    });
    if (!read)
        return read;

    // Only the fourth byte is tested: the game's own tools accept any file whose signature
    // ends in a space, and the two header words after it are not interpreted either.
    if (archive.Header.Signature[3] != ' ')
        return TFailure{NotAGobMessage};
    return {};
}

bool IsNotAGob(const std::string &failure)
{
    // No text of a failed read is this message.
    return failure == NotAGobMessage;
}

TStatus ReadGobDirectory(TGobArchive &archive)
{
    archive.Entries.clear();
    archive.CountTruncated = false;

    return CatchIOError([&]() -> TStatus {
        TBinFile file;
        file.OpenRead(archive.Path);
        const int64_t count = archive.Header.Count;
        if (count <= 0)
            return {};
        // The directory starts right after the header, whatever the header words say. The count
        // is clamped to the table and to what the file holds before anything is read, so a
        // forged count of two billion costs one short read, not a loop.
        const int64_t size = file.Size();
        // A file that ends right after its header has no directory to read, whatever its count.
        if (size <= GobHeaderSize)
            return {};
        const int64_t room = (size - GobHeaderSize) / GobEntrySize;
        const int64_t wanted = std::min<int64_t>(count, MaxGobEntries);
        const int64_t present = std::min(wanted, room);
        if (present > 0)
        {
            archive.Entries.resize(static_cast<size_t>(present));
            file.Seek(GobHeaderSize);
            file.Read(archive.Entries.data(), static_cast<size_t>(present * GobEntrySize));
        }
        file.Close();
        archive.CountTruncated = count > MaxGobEntries;
        if (wanted > room)
            throw TIOError::ReadBeyondEnd();
        return {};
    });
}

TResult<TGobArchive> ReadGobArchive(const std::string &path)
{
    TGobArchive archive;
    if (const TStatus header = ReadGobHeader(path, archive); !header)
        return TFailure{header.Error()};
    if (const TStatus directory = ReadGobDirectory(archive); !directory)
        return TFailure{directory.Error()};
    return archive;
}

const TGobEntry &GobMemberEntry(const TGobArchive &archive, int index)
{
    if (index < 0 || index >= archive.Count())
    {
        char text[64];
        std::snprintf(text, sizeof text, "Archive member index out of range: %d", index);
        throw std::out_of_range(text);
    }
    return archive.Entries[static_cast<size_t>(index)];
}

std::string GobEntryName(const TGobArchive &archive, int index)
{
    return std::string(EntryName(GobMemberEntry(archive, index)));
}

std::string GobEntryRawName(const TGobArchive &archive, int index)
{
    return std::string(GobMemberEntry(archive, index).Name, sizeof(TGobEntry::Name));
}

int64_t OpenGobMember(TBinFile &file, const TGobArchive &archive, int index)
{
    const TGobEntry &entry = GobMemberEntry(archive, index);
    file.OpenRead(archive.Path);
    // The directory comes from the file unchecked, so a member reaching outside the file is
    // refused here, with the message a read past the end would give.
    const int64_t end = int64_t{entry.Offset} + entry.Length;
    if (entry.Offset < 0 || entry.Length < 0 || end > file.Size())
        throw TIOError::ReadBeyondEnd();
    file.Seek(entry.Offset);
    return entry.Length;
}

TResult<std::vector<uint8_t>> ReadGobMemberBytes(const TGobArchive &archive, int index,
                                                 size_t limit)
{
    return CatchIOError([&]() -> TResult<std::vector<uint8_t>> {
        TBinFile file;
        const int64_t length = OpenGobMember(file, archive, index);
        std::vector<uint8_t> bytes(std::min(static_cast<size_t>(length), limit));
        file.Read(bytes.data(), bytes.size());
        file.Close();
        return bytes;
    });
}

TStatus ExtractGobMember(const TGobArchive &archive, int index, const std::string &targetDir,
                         const std::string &relPath)
{
    // An existing folder is used whatever the letter case of its name; only a folder with no
    // match is created.
    const TResult<std::string> target = ResolveFoldersNoCase(targetDir, relPath, true);
    if (!target)
        return TFailure{target.Error()};
    return CopyGobMemberToFile(archive, index, *target);
}

TStatus CopyGobMemberToFile(const TGobArchive &archive, int index, const std::string &target)
{
    return CatchIOError([&]() -> TStatus {
        TBinFile file;
        const int64_t length = OpenGobMember(file, archive, index);
        // The archive replaced by one of its members would lose all the others.
        if (SameFile(archive.Path, target))
            return TFailure{"Cannot extract a member over its own archive"};
        // Through a temporary file: a copy that fails half way (a full disk) leaves the file
        // that was there, which may be the user's own, whole.
        return WriteFileAtomic(target,
                               [&](TBinFile &output) { CopyFileBlock(file, output, length); });
    });
}

void CopyFileBlock(TBinFile &source, TBinFile &dest, int64_t count,
                   const std::function<void(size_t blockSize)> &onBlock)
{
    uint8_t buffer[CopyBlockSize];
    while (count > 0)
    {
        const size_t block = count > static_cast<int64_t>(CopyBlockSize)
                                 ? CopyBlockSize
                                 : static_cast<size_t>(count);
        source.Read(buffer, block);
        dest.Write(buffer, block);
        if (onBlock)
            onBlock(block);
        count -= static_cast<int64_t>(block);
    }
}

// ---- Member names ----

std::string_view NameToFirstNul(std::string_view name)
{
    return name.substr(0, name.find('\0'));
}

bool IsCogMemberName(std::string_view name)
{
    // Old packing tools left garbage after the NUL of the name field, some of it ".cog" of an
    // earlier name, so only the part up to the NUL counts.
    return NameToFirstNul(name).find(".cog") != std::string_view::npos;
}

std::vector<std::string> GobMemberNames(const TGobArchive &archive)
{
    std::vector<std::string> names;
    names.reserve(archive.Entries.size());
    for (const TGobEntry &entry : archive.Entries)
        names.emplace_back(EntryName(entry));
    return names;
}

int FindFirstName(const std::vector<std::string> &names, std::string_view name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

int FindGobMember(const TGobArchive &archive, std::string_view name)
{
    for (int k = 0; k < archive.Count(); ++k)
        if (EntryName(archive.Entries[static_cast<size_t>(k)]) == name)
            return k;
    return -1;
}

int FindTypedGobMember(const TGobArchive &archive, std::string_view typed)
{
    const int index = FindGobMember(archive, typed);
    if (index >= 0 || typed.find('/') == std::string_view::npos)
        return index;
    std::string stored(typed);
    std::replace(stored.begin(), stored.end(), '/', '\\');
    return FindGobMember(archive, stored);
}

bool MemberPathToRelative(std::string_view name, std::string &relPath, std::string &error)
{
    relPath.clear();
    error.clear();
    const std::string_view path = NameToFirstNul(name);
    if (path.empty())
    {
        error = "Member name is empty";
        return false;
    }
    // The names come from a file anyone can write, and become paths under the user's folder:
    // anything that could reach outside it is refused rather than repaired.
    if (IsSeparator(path.front()))
    {
        error = Refusal("Member name is an absolute path", path);
        return false;
    }
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':')
    {
        error = Refusal("Member name starts with a drive letter", path);
        return false;
    }
    if (IsSeparator(path.back()))
    {
        error = Refusal("Member name names a folder, not a file", path);
        return false;
    }
    size_t start = 0;
    while (start <= path.size())
    {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string_view part = path.substr(start, end - start);
        if (part == "..")
        {
            relPath.clear();
            error = Refusal("Member name climbs out of the target folder", path);
            return false;
        }
        // Doubled separators and "." parts name the same place; they are dropped.
        if (!part.empty() && part != ".")
        {
            if (IsNameWindowsRefuses(part))
            {
                relPath.clear();
                error = Refusal("Member name is no file name on Windows", path);
                return false;
            }
            if (!relPath.empty())
                relPath += '/';
            relPath += part;
        }
        start = end + 1;
    }
    if (relPath.empty())
    {
        error = Refusal("Member name names no file", path);
        return false;
    }
    return true;
}

// ---- Writing archives ----

std::string GobDirectoryBytes(const std::vector<TGobMemberInfo> &members)
{
    constexpr size_t EntrySize = sizeof(TGobEntry);
    constexpr size_t NameSize = sizeof(TGobEntry::Name);
    std::string bytes(sizeof(TGobHeader) + members.size() * EntrySize, '\0');
    bytes.replace(0, 4, "GOB ");
    PutLE32(bytes, 4, GobWord1);
    PutLE32(bytes, 8, GobWord2);
    PutLE32(bytes, 12, static_cast<int32_t>(members.size()));
    int64_t offset = static_cast<int64_t>(bytes.size());
    for (size_t k = 0; k < members.size(); ++k)
    {
        const size_t at = sizeof(TGobHeader) + k * EntrySize;
        PutLE32(bytes, at, static_cast<int32_t>(offset));
        PutLE32(bytes, at + 4, static_cast<int32_t>(members[k].Length));
        const std::string &name = members[k].Name;
        bytes.replace(at + 8, std::min(name.size(), NameSize), name, 0, NameSize);
        offset += members[k].Length;
    }
    return bytes;
}

TStatus CheckGobLayout(const std::vector<TGobMemberInfo> &members)
{
    char text[160];
    if (members.size() > static_cast<size_t>(MaxGobEntries))
    {
        std::snprintf(text, sizeof text, "%zu members; an archive holds at most %d", members.size(),
                      MaxGobEntries);
        return TFailure{text};
    }
    int64_t end = static_cast<int64_t>(sizeof(TGobHeader) + members.size() * sizeof(TGobEntry));
    for (const TGobMemberInfo &member : members)
    {
        if (member.Name.size() >= sizeof(TGobEntry::Name))
        {
            std::snprintf(text, sizeof text, ": name of %zu bytes; the directory holds up to %zu",
                          member.Name.size(), sizeof(TGobEntry::Name) - 1);
            return TFailure{member.Name + text};
        }
        end += member.Length;
        if (member.Length < 0 || end > INT32_MAX)
            return TFailure{"The archive would pass 2 GiB"};
    }
    return {};
}

TStatus WriteGobArchive(const std::string &path, const std::vector<TGobMemberInfo> &members,
                        const TGobMemberWriter &writeMember)
{
    // Everything is checked before the first byte is written.
    if (const TStatus layout = CheckGobLayout(members); !layout)
        return layout;
    const std::string directory = GobDirectoryBytes(members);
    return WriteFileAtomic(path, [&](TBinFile &output) {
        output.Write(directory.data(), directory.size());
        for (size_t k = 0; k < members.size(); ++k)
        {
            const int64_t before = output.Position();
            writeMember(k, output);
            // A member of another length would no longer match its entry.
            if (output.Position() - before != members[k].Length)
                throw TIOError(members[k].Name + " changed while packing");
        }
    });
}
