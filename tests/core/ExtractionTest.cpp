// Extraction of archive members into a folder that may already hold some of their files.

#include "core/gamedata/extraction.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/gamedata/archive.h"
#include "tests/core/gobbuilder.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {
using TFiles = std::map<std::string, std::string>;
using TKind = TExtractNote::TKind;
using TAnswer = TDiffersAnswer;

// Every file below dir with its bytes, by its path relative to dir.
TFiles FilesBelow(const std::string &dir)
{
    TFiles files;
    for (const auto &entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).generic_string()] =
                ReadBytes(entry.path().string());
    return files;
}

struct TRow
{
    const char *What = "";
    // The archive's members, all extracted in directory order: name as stored, bytes.
    std::vector<std::pair<std::string, std::string>> Members = {};
    // The folder's files before.
    TFiles Before = {};
    // The answers for the differing files, in turn; each must be asked for.
    std::vector<TAnswer> Answers = {};
    bool NotesStop = false;
    std::vector<std::string> Written = {};
    std::vector<std::pair<TKind, int>> Notes = {};
    bool Problems = false;
    bool Stopped = false;
    // The folder's files after.
    TFiles After = {};
};
} // namespace

TEST(ExtractionTest, MembersReachTheFolderAsTheirNamesAndTheAnswersAllow)
{
    const TRow rows[] = {
        {.What = "a missing file is written, its folder made",
         .Members = {{"cog\\a.cog", "a"}},
         .Written = {"cog/a.cog"},
         .After = {{"cog/a.cog", "a"}}},
        {.What = "a file holding the member's bytes is left alone",
         .Members = {{"a.cog", "a"}, {"b.cog", "b"}},
         .Before = {{"a.cog", "a"}},
         .Written = {"b.cog"},
         .After = {{"a.cog", "a"}, {"b.cog", "b"}}},
        {.What = "Keep keeps a differing file and says so",
         .Members = {{"a.cog", "new"}, {"b.cog", "b"}},
         .Before = {{"a.cog", "mine"}},
         .Answers = {TAnswer::Keep},
         .Written = {"b.cog"},
         .Notes = {{TKind::Kept, 0}},
         .After = {{"a.cog", "mine"}, {"b.cog", "b"}}},
        {.What = "Replace answers for that file only",
         .Members = {{"a.cog", "new a"}, {"b.cog", "new b"}},
         .Before = {{"a.cog", "my a"}, {"b.cog", "my b"}},
         .Answers = {TAnswer::Replace, TAnswer::Keep},
         .Written = {"a.cog"},
         .Notes = {{TKind::Kept, 1}},
         .After = {{"a.cog", "new a"}, {"b.cog", "my b"}}},
        {.What = "ReplaceAll answers for every later differing file",
         .Members = {{"a.cog", "new a"}, {"b.cog", "b"}, {"c.cog", "new c"}, {"d.cog", "d"}},
         .Before = {{"a.cog", "my a"}, {"b.cog", "b"}, {"c.cog", "my c"}},
         .Answers = {TAnswer::ReplaceAll},
         .Written = {"a.cog", "c.cog", "d.cog"},
         .After = {{"a.cog", "new a"}, {"b.cog", "b"}, {"c.cog", "new c"}, {"d.cog", "d"}}},
        {.What = "Cancel keeps the file and extracts nothing more",
         .Members = {{"a.cog", "a"}, {"b.cog", "new b"}, {"c.cog", "c"}},
         .Before = {{"b.cog", "my b"}},
         .Answers = {TAnswer::Cancel},
         .Written = {"a.cog"},
         .Stopped = true,
         .After = {{"a.cog", "a"}, {"b.cog", "my b"}}},
        {.What = "names leaving the folder are refused and the rest extracted",
         .Members = {{"..\\x.cog", "x"}, {"\\abs.cog", "y"}, {"C:\\c.cog", "z"}, {"ok.cog", "ok"}},
         .Written = {"ok.cog"},
         .Notes = {{TKind::Refused, 0}, {TKind::Refused, 1}, {TKind::Refused, 2}},
         .Problems = true,
         .After = {{"ok.cog", "ok"}}},
        {.What = "of two entries with one name the first is extracted",
         .Members = {{"cog\\a.cog", "first"}, {"cog\\a.cog\0old"s, "second"}},
         .Written = {"cog/a.cog"},
         .Notes = {{TKind::Duplicate, 1}},
         .After = {{"cog/a.cog", "first"}}},
        {.What = "two names whose folders differ in case only are one name",
         .Members = {{"cog\\x.cog", "one"}, {"COG\\x.cog", "two"}},
         .Written = {"cog/x.cog"},
         .Notes = {{TKind::Duplicate, 1}},
         .After = {{"cog/x.cog", "one"}}},
        {.What = "a note answered with stop ends the run",
         .Members = {{"..\\x.cog", "x"}, {"ok.cog", "ok"}},
         .NotesStop = true,
         .Notes = {{TKind::Refused, 0}},
         .Problems = true,
         .Stopped = true},
        {.What = "a member's folder is the existing one of another case",
         .Members = {{"COG\\x.cog", "x"}},
         .Before = {{"cog/keep.cog", "k"}},
         .Written = {"cog/x.cog"},
         .After = {{"cog/keep.cog", "k"}, {"cog/x.cog", "x"}}},
        {.What = "a member that cannot be written fails alone",
         .Members = {{"cog\\a.cog", "a"}, {"b.cog", "b"}},
         .Before = {{"cog", "a file where the folder would go"}},
         .Written = {"b.cog"},
         .Notes = {{TKind::Failed, 0}},
         .Problems = true,
         .After = {{"cog", "a file where the folder would go"}, {"b.cog", "b"}}},
    };
    for (const TRow &row : rows)
    {
        SCOPED_TRACE(row.What);
        TScratchDir scratch;
        const std::string out = scratch.Path("out/");
        fs::create_directory(out);
        for (const auto &[rel, bytes] : row.Before)
        {
            fs::create_directories(fs::path(out + rel).parent_path());
            WriteBytes(out + rel, bytes);
        }
        TGobBuilder builder;
        std::vector<int> indices;
        for (const auto &[name, bytes] : row.Members)
        {
            builder.Add(name, bytes);
            indices.push_back(static_cast<int>(indices.size()));
        }
        WriteBytes(scratch.Path("a.gob"), builder.Build());
        const TResult<TGobArchive> archive = ReadGobArchive(scratch.Path("a.gob"));
        ASSERT_TRUE(archive);

        std::vector<int> told;
        size_t asked = 0;
        std::vector<std::pair<TKind, int>> notes;
        TExtractHandlers handlers;
        handlers.OnMember = [&](int index) { told.push_back(index); };
        handlers.OnDiffers = [&](const std::string &) {
            return asked < row.Answers.size() ? row.Answers[asked++] : (++asked, TAnswer::Keep);
        };
        handlers.OnNote = [&](const TExtractNote &note) {
            notes.emplace_back(note.Kind, note.Index);
            return !row.NotesStop;
        };
        const TExtractResult result = ExtractMembers(*archive, indices, out, handlers);

        std::vector<std::string> written;
        for (const std::string &rel : row.Written)
            written.push_back(out + rel);
        EXPECT_EQ(result.Written, written);
        EXPECT_EQ(notes, row.Notes);
        EXPECT_EQ(asked, row.Answers.size());
        EXPECT_EQ(result.Problems, row.Problems);
        EXPECT_EQ(result.Stopped, row.Stopped);
        EXPECT_EQ(FilesBelow(out), row.After);
        // Members are told in order, all of them unless the run stopped.
        ASSERT_LE(told.size(), indices.size());
        EXPECT_EQ(told, std::vector<int>(indices.begin(), indices.begin() + told.size()));
        if (!row.Stopped)
        {
            EXPECT_EQ(told.size(), indices.size());
        }
        // Nothing lands beside the folder.
        EXPECT_EQ(FilesBelow(scratch.Folder()).size(), row.After.size() + 1);
    }
}
