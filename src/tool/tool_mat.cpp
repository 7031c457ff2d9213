// qxtool mat2bmp: a MAT texture, loose or inside an archive, to an 8-bit BMP file.

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/gamedata/archive.h"
#include "core/gamedata/textures.h"
#include "core/shell/fileio.h"
#include "tool/commands.h"

namespace {
const char *const Usage = "Usage: qxtool mat2bmp [--archive ARCHIVE] [--cmp CMP] MAT OUT.bmp\n";

struct TMatArgs
{
    std::string Archive;
    std::string Cmp;
    std::string Mat;
    std::string Out;
};

// Options may come before, between or after the two file names.
bool ParseArgs(const std::vector<std::string> &args, TMatArgs &parsed)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string &arg = args[i];
        if (arg == "--archive" || arg == "--cmp")
        {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return false;
            (arg == "--archive" ? parsed.Archive : parsed.Cmp) = args[++i];
        }
        else if (arg.size() > 1 && arg[0] == '-')
            return false;
        else
            names.push_back(arg);
    }
    if (names.size() != 2 || names[0].empty() || names[1].empty())
        return false;
    parsed.Mat = names[0];
    parsed.Out = names[1];
    return true;
}

// A refusal of the tool's own, reported like the core's errors.
struct TToolError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

int MemberIndex(const TGobArchive &archive, const std::string &name)
{
    const int index = FindTypedGobMember(archive, name);
    if (index < 0)
        throw TToolError("no member " + name + " in " + archive.Path);
    return index;
}

// subject names the file the step at work reads or writes, for the error message.
TMatPicture Convert(const TMatArgs &args, std::string &subject)
{
    // Without a colormap the picture is black.
    TColormap colors;
    if (args.Archive.empty())
    {
        if (!args.Cmp.empty())
        {
            subject = args.Cmp;
            colors = LoadCmpFile(args.Cmp);
        }
        subject = args.Mat;
        const std::string bytes = ReadWholeFile(args.Mat);
        return ReadMat(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), colors);
    }
    subject = args.Archive;
    TGobArchive archive;
    if (!ReadGobHeader(args.Archive, archive))
        throw TToolError(args.Archive + ": " + NotAGobMessage);
    ReadGobDirectory(archive);
    if (!args.Cmp.empty())
    {
        const int index = MemberIndex(archive, args.Cmp);
        subject = args.Archive + ": " + args.Cmp;
        colors = ReadCmp(archive, index);
    }
    const int index = MemberIndex(archive, args.Mat);
    subject = args.Archive + ": " + args.Mat;
    return LoadMatFromArchive(archive, index, colors);
}
} // namespace

int RunMat2Bmp(const std::vector<std::string> &args)
{
    TMatArgs parsed;
    if (!ParseArgs(args, parsed))
    {
        std::fputs(Usage, stderr);
        return 2;
    }
    std::string subject;
    try
    {
        const TMatPicture picture = Convert(parsed, subject);
        subject = parsed.Out;
        // Through a temporary file, so a failed write never leaves half a picture behind.
        WriteFileAtomic(parsed.Out, std::string(picture.Bmp.begin(), picture.Bmp.end()));
        std::printf("%s\n%s\n", picture.PixelSizeText.c_str(), picture.GridSizeText.c_str());
        return 0;
    }
    catch (const TToolError &error)
    {
        std::fprintf(stderr, "qxtool mat2bmp: %s\n", error.what());
    }
    catch (const std::exception &error)
    {
        std::fprintf(stderr, "qxtool mat2bmp: %s: %s\n", subject.c_str(), error.what());
    }
    return 1;
}
