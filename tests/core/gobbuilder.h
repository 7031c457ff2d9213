#pragma once

// Builds GOB/GOO archive bytes for tests: "GOB ", the words 0x14 and 12, the entry count,
// the 136-byte entries (offset, length, 128-byte name field), then the members back to back.
// Signature, count, offsets and lengths can be forged to make the bad archives of real disks.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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
        std::string head = Sig.substr(0, 4) + Le32(0x14) + Le32(12) +
                           Le32(ForcedCount.value_or(static_cast<int32_t>(Members.size())));
        std::string data;
        int64_t offset = 16 + 136 * static_cast<int64_t>(Members.size());
        for (const TMember &m : Members)
        {
            head += Le32(m.Offset.value_or(static_cast<int32_t>(offset)));
            head += Le32(m.Length.value_or(static_cast<int32_t>(m.Bytes.size())));
            head += (m.Name + std::string(128, '\0')).substr(0, 128);
            data += m.Bytes;
            offset += static_cast<int64_t>(m.Bytes.size());
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

inline void WriteBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string &path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
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
    ~TScratchDir() { std::filesystem::remove_all(Dir); }
    TScratchDir(const TScratchDir &) = delete;
    TScratchDir &operator=(const TScratchDir &) = delete;

    // The folder with a trailing separator, as the program's folder settings are.
    std::string Folder() const { return Dir.string() + "/"; }
    std::string Path(const std::string &name) const { return Folder() + name; }

  private:
    std::filesystem::path Dir;
};
