#include "core/gamedata/G_fileops.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "core/shell/GlobalVar.h"
#include "core/shell/Strings.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"
#include "core/shell/pathcase.h"

// The directory is read straight from the file into the table, so the records must have
// exactly the stored layout.
static_assert(sizeof(TGobHeader) == 16, "TGobHeader must match the 16 stored bytes");
static_assert(sizeof(TGobEntry) == 136, "TGobEntry must match the 136 stored bytes");

TGobHeader GobHeader{};
std::array<TGobEntry, MaxGobEntries> GobDirectory{};
uint8_t NotAGob = 0;
std::vector<uint8_t> MemberBuffer;
TTPLRec Templates;

namespace {
constexpr int64_t GobHeaderSize = sizeof(TGobHeader);
constexpr int64_t GobEntrySize = sizeof(TGobEntry);

// Entries of GobDirectory filled by the last directory read; the header's count is taken
// from the file unchecked and may be anything.
int EntryCount = 0;
bool CountTruncated = false;
TCopyBlockHook CopyBlockHook = nullptr;

// Archives store their integers little-endian.
int32_t FromLittleEndian(int32_t value)
{
    if constexpr (std::endian::native == std::endian::big)
    {
        const auto bits = static_cast<uint32_t>(value);
        return static_cast<int32_t>((bits >> 24) | ((bits >> 8) & 0xFF00u) |
                                    ((bits << 8) & 0xFF0000u) | (bits << 24));
    }
    return value;
}

void CheckIndex(int index)
{
    if (index < 0 || index >= EntryCount)
    {
        char text[64];
        std::snprintf(text, sizeof text, "Archive member index out of range: %d", index);
        throw std::out_of_range(text);
    }
}

// Positions archive at the member's first byte. The directory comes from the file unchecked,
// so a member reaching outside the file is refused here, before anything is allocated or
// created for it, with the message a read past the end would give.
void SeekToMember(TBinFile &archive, const TGobEntry &entry)
{
    const int64_t end = static_cast<int64_t>(entry.Offset) + entry.Length;
    if (entry.Offset < 0 || entry.Length < 0 || end > archive.Size())
        throw TIOError::ReadBeyondEnd();
    archive.Seek(entry.Offset);
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::string Refusal(const char *reason, std::string_view name)
{
    return std::string(reason) + ": " + std::string(name);
}
} // namespace

// ---- Archives ----

bool ReadGobHeader(const std::string &path)
{
    ClearGobDirectory();
    ClearGobHeader();
    NotAGob = 0;

    TBinFile file;
    file.OpenRead(path);
    // A file shorter than the header fills only what it has and the rest stays zero, so an
    // empty file fails the signature test below.
    TGobHeader header{};
    file.ReadSome(&header, sizeof header);
    file.Close();
    header.Word1 = FromLittleEndian(header.Word1);
    header.Word2 = FromLittleEndian(header.Word2);
    header.Count = FromLittleEndian(header.Count);
    GobHeader = header;

    // Only the fourth byte is tested: the game's own tools accept any file whose signature
    // ends in a space, and the two header words after it are not interpreted either.
    if (GobHeader.Signature[3] != ' ')
    {
        NotAGob = 1;
        return false;
    }
    return true;
}

void ReadGobDirectory(const std::string &path)
{
    if (NotAGob == 1)
        return;
    ClearGobDirectory();

    TBinFile file;
    file.OpenRead(path);
    const int64_t count = GobHeader.Count;
    if (count <= 0)
        return;
    // The directory starts right after the header, whatever the header words say. The count
    // is clamped to the table and to what the file holds before anything is read, so a forged
    // count of two billion costs one short read, not a loop.
    const int64_t size = file.Size();
    // A file that ends right after its header has no directory to read, whatever its count.
    if (size <= GobHeaderSize)
        return;
    const int64_t room = size > GobHeaderSize ? (size - GobHeaderSize) / GobEntrySize : 0;
    const int64_t wanted = std::min<int64_t>(count, MaxGobEntries);
    const int64_t present = std::min(wanted, room);
    if (present > 0)
    {
        file.Seek(GobHeaderSize);
        file.Read(GobDirectory.data(), static_cast<size_t>(present * GobEntrySize));
    }
    file.Close();
    EntryCount = static_cast<int>(present);
    for (int k = 0; k < EntryCount; ++k)
    {
        GobDirectory[k].Offset = FromLittleEndian(GobDirectory[k].Offset);
        GobDirectory[k].Length = FromLittleEndian(GobDirectory[k].Length);
    }
    CountTruncated = count > MaxGobEntries;
    if (wanted > room)
        throw TIOError::ReadBeyondEnd();
}

int GobEntryCount()
{
    return EntryCount;
}

bool GobCountTruncated()
{
    return CountTruncated;
}

void ClearGobDirectory()
{
    const int headerCount = std::clamp<int32_t>(GobHeader.Count, 0, MaxGobEntries);
    const int used = std::max(EntryCount, headerCount);
    std::memset(static_cast<void *>(GobDirectory.data()), 0,
                static_cast<size_t>(used) * sizeof(TGobEntry));
    EntryCount = 0;
    CountTruncated = false;
}

void ClearGobHeader()
{
    GobHeader = TGobHeader{};
}

std::string GobEntryName(int index)
{
    CheckIndex(index);
    return std::string(NameToFirstNul(std::string_view(GobDirectory[index].Name, 128)));
}

std::string GobEntryRawName(int index)
{
    CheckIndex(index);
    return std::string(GobDirectory[index].Name, 128);
}

void ExtractGobMember(const std::string &target, int index)
{
    if (NotAGob == 1)
        return;
    // Scripts of the game's archives are stored under cog\, so the dialog's extractions land
    // in this one folder; it is the only one ever created, and a failure shows up when the
    // target is created.
    if (!ProgramDir.empty() && FindFolderNoCase(ProgramDir, "cog").empty())
        CreateDir(ProgramDir + "cog");
    CopyGobMemberToFile(ArchivePath, index, target);
}

void CopyGobMemberToFile(const std::string &archivePath, int index, const std::string &target)
{
    CheckIndex(index);
    const TGobEntry &entry = GobDirectory[index];
    TBinFile archive;
    archive.OpenRead(archivePath);
    SeekToMember(archive, entry);
    // Creating the target truncates it: were it the archive itself, the member would be gone
    // before it is read.
    if (SameFile(archivePath, target))
        throw TIOError("Cannot extract a member over its own archive");
    TBinFile output;
    output.Create(target);
    CopyFileBlock(archive, output, entry.Length);
    output.Close();
    archive.Close();
}

void CopyFileBlock(TBinFile &source, TBinFile &dest, int64_t count)
{
    uint8_t buffer[CopyBlockSize];
    while (count > 0)
    {
        const size_t block = count > static_cast<int64_t>(CopyBlockSize)
                                 ? CopyBlockSize
                                 : static_cast<size_t>(count);
        source.Read(buffer, block);
        dest.Write(buffer, block);
        if (CopyBlockHook)
            CopyBlockHook(block);
        count -= static_cast<int64_t>(block);
    }
}

void ReadGobMember(const std::string &path, int index)
{
    CheckIndex(index);
    MemberBuffer = {};
    const TGobEntry &entry = GobDirectory[index];
    TBinFile archive;
    archive.OpenRead(path);
    SeekToMember(archive, entry);
    std::vector<uint8_t> bytes(static_cast<size_t>(entry.Length));
    archive.Read(bytes.data(), bytes.size());
    archive.Close();
    MemberBuffer = std::move(bytes);
}

void SetCopyBlockHook(TCopyBlockHook hook)
{
    CopyBlockHook = hook;
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

std::vector<std::string> GobMemberNames()
{
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(EntryCount));
    for (int k = 0; k < EntryCount; ++k)
        names.emplace_back(NameToFirstNul(std::string_view(GobDirectory[k].Name, 128)));
    return names;
}

int FindFirstName(const std::vector<std::string> &names, std::string_view name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

int FindGobMember(std::string_view name)
{
    for (int k = 0; k < EntryCount; ++k)
        if (NameToFirstNul(std::string_view(GobDirectory[k].Name, 128)) == name)
            return k;
    return -1;
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

// ---- Template file ----

void ClearTemplates()
{
    for (int k = 0; k < MaxTemplates; ++k)
    {
        Templates.TplName[k].clear();
        Templates.TplParent[k].clear();
        Templates.TplLine[k].clear();
    }
}

int LoadTemplateText(std::string_view text)
{
    ClearTemplates();
    int k = 0;
    int dropped = 0;
    for (const std::string &line : SplitTextLines(text))
    {
        // A "#" anywhere makes the whole line a comment, a template line with a trailing
        // comment included: the level editor's own reader does the same.
        if (line.find('#') != std::string::npos)
            continue;
        // Every other line takes a slot, empty ones too. Files of later games hold about two
        // thousand templates; the table keeps the first MaxTemplates and counts the rest.
        if (k == MaxTemplates)
        {
            ++dropped;
            continue;
        }
        std::string converted = SplitLine(line);
        Templates.TplName[k] = Words[0];
        Templates.TplParent[k] = Words[1];
        Templates.TplLine[k] = std::move(converted);
        ++k;
    }
    return dropped;
}

bool LoadTemplateFile(const std::string &path, int *droppedLines)
{
    if (droppedLines)
        *droppedLines = 0;
    if (!FileExists(path))
        return false;
    // Read before clearing, so a file that cannot be opened leaves the table as it was.
    const std::string text = ReadWholeFile(path);
    const int dropped = LoadTemplateText(text);
    if (droppedLines)
        *droppedLines = dropped;
    return true;
}

std::string FindTemplate(const std::string &name)
{
    // The whole table is scanned and the last match kept: a template redefined further down
    // the file overrides the earlier one.
    std::string result;
    for (int k = 0; k < MaxTemplates; ++k)
        if (Templates.TplName[k] == name)
            result = TabsToSpaces(Templates.TplLine[k]);
    return result;
}
