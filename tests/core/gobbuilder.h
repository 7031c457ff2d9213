#pragma once

// Builds GOB/GOO archive bytes for tests with the program's own archive layout, then forges
// what a test asks for: signature, count, offsets and lengths, as on the bad archives of real
// disks.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/gamedata/archive.h"

class TGobBuilder
{
  public:
    // nameField goes into the 128-byte field as given; "a\0b" models the leftover bytes old
    // packers wrote after the name. offset and length, when given, replace the real ones.
    TGobBuilder &Add(const std::string &nameField, const std::string &bytes,
                     std::optional<int32_t> offset = {}, std::optional<int32_t> length = {})
    {
        Members.push_back({nameField, bytes, offset, length});
        return *this;
    }
    TGobBuilder &Signature(const std::string &four)
    {
        Sig = four;
        return *this;
    }
    TGobBuilder &Count(int32_t count)
    {
        ForcedCount = count;
        return *this;
    }

    std::string Build() const
    {
        std::vector<TGobMemberInfo> layout;
        std::string data;
        for (const TMember &m : Members)
        {
            layout.push_back({m.Name, static_cast<int64_t>(m.Bytes.size())});
            data += m.Bytes;
        }
        std::string head = GobDirectoryBytes(layout);
        head.replace(0, 4, (Sig + std::string(4, '\0')).substr(0, 4));
        if (ForcedCount)
            head.replace(12, 4, Le32(*ForcedCount));
        for (size_t k = 0; k < Members.size(); ++k)
        {
            const size_t at = 16 + 136 * k;
            if (Members[k].Offset)
                head.replace(at, 4, Le32(*Members[k].Offset));
            if (Members[k].Length)
                head.replace(at + 4, 4, Le32(*Members[k].Length));
        }
        return head + data;
    }

  private:
    static std::string Le32(int32_t value)
    {
        const auto bits = static_cast<uint32_t>(value);
        return {static_cast<char>(bits), static_cast<char>(bits >> 8),
                static_cast<char>(bits >> 16), static_cast<char>(bits >> 24)};
    }

    struct TMember
    {
        std::string Name, Bytes;
        std::optional<int32_t> Offset, Length;
    };
    std::vector<TMember> Members;
    std::string Sig = "GOB ";
    std::optional<int32_t> ForcedCount;
};

// size repeatable pseudo-random bytes; another seed gives other bytes.
inline std::string PatternBytes(size_t size, unsigned seed = 1)
{
    std::string bytes(size, '\0');
    std::minstd_rand random(seed);
    for (char &byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// A path of the program's (UTF-8) as the file system's, as ToPath makes it: a std::string
// path on Windows is read in the local code page, which cannot spell every name.
inline std::filesystem::path Utf8Path(const std::string &path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

inline void WriteBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(Utf8Path(path), std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string &path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(Utf8Path(path), std::ios::binary).rdbuf();
    return bytes.str();
}

// The names in folder, sorted: which spelling of a name is on disk, also where the file system
// finds it in any letter case.
inline std::vector<std::string> FolderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(Utf8Path(folder)))
    {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh folder under the system's temporary folder, removed with its content.
class TScratchDir
{
  public:
    TScratchDir()
    {
        std::random_device random;
        do
            Dir = std::filesystem::temp_directory_path() / ("qx-gob-" + std::to_string(random()));
        while (!std::filesystem::create_directory(Dir));
    }
    ~TScratchDir()
    {
        // A test may leave read-only files and folders behind; they go too.
        namespace fs = std::filesystem;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(Dir, ec), end; !ec && it != end; it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(Dir, ec);
    }
    TScratchDir(const TScratchDir &) = delete;
    TScratchDir &operator=(const TScratchDir &) = delete;

    // The folder with a trailing separator, as the program's folder settings are.
    std::string Folder() const { return Dir.string() + "/"; }
    std::string Path(const std::string &name) const { return Folder() + name; }

  private:
    std::filesystem::path Dir;
};
