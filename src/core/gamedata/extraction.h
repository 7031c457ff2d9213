#pragma once

// Extraction of archive members into a folder: one policy for the extraction dialog and
// qxtool. A member's name must stay inside the folder; its folders are found whatever their
// letter case, or made; a file that already holds the member's bytes is left alone; one that
// differs is replaced only when the caller says so; of two entries with one name, the first is
// the one the game uses, and the later one is left out.

#include <functional>
#include <string>
#include <vector>

struct TGobArchive;

// What becomes of a file that differs from the member about to be extracted over it.
enum class TDiffersAnswer
{
    Replace,
    Keep,
    // Replace this one and every later one without asking.
    ReplaceAll,
    // Keep it and extract nothing more.
    Cancel
};

// Something the caller may want to tell the user about one member.
struct TExtractNote
{
    enum class TKind
    {
        // The name would leave the folder, or names no file: Message says why.
        Refused,
        // An earlier entry has the same name: this one was left out.
        Duplicate,
        // A differing file was kept (the answer was Keep).
        Kept,
        // Reading the member or writing its file failed: Message is the failure.
        Failed
    };
    TKind Kind;
    int Index;
    // The member's name as stored, up to its first NUL.
    std::string Name;
    // The file the member goes to; empty for a refused name.
    std::string Target;
    std::string Message;
};

struct TExtractHandlers
{
    // Told of each member as its turn comes, by directory index.
    std::function<void(int index)> OnMember;
    // Asked for each existing file that differs from its member; without it, such files are
    // kept.
    std::function<TDiffersAnswer(const std::string &target)> OnDiffers;
    // Told of each note; returns whether to go on with the next member. Without it, every
    // note is passed over.
    std::function<bool(const TExtractNote &note)> OnNote;
    // The file path, below the folder, of a member's relative path ("/" separators, the
    // archive's bytes); without it, the bytes are the path.
    std::function<std::string(const std::string &relPath)> ToFilePath;
};

struct TExtractResult
{
    // The files written, in order.
    std::vector<std::string> Written;
    // A member was refused or failed.
    bool Problems = false;
    // Stopped before the end: Cancel was answered, or a note's handler said to stop.
    bool Stopped = false;
};

// Extracts the members of archive at indices (in that order) into targetDir ("" or a folder
// ending with "/").
[[nodiscard]] TExtractResult ExtractMembers(const TGobArchive &archive,
                                            const std::vector<int> &indices,
                                            const std::string &targetDir,
                                            const TExtractHandlers &handlers);
