// qxtool mat2bmp: a MAT texture, loose or inside an archive, to an 8-bit BMP file.

#include <cstdio>
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

// The index of the member typed as name; fails when the archive has none.
TResult<int> MemberIndex(const TGobArchive &archive, const std::string &name)
{
    const int index = FindTypedGobMember(archive, name);
    if (index < 0)
        return TFailure{"no member " + name + " in " + archive.Path};
    return index;
}

// A failure of the core on the file subject, as the message names it.
TFailure On(const std::string &subject, const std::string &failure)
{
    return TFailure{subject + ": " + failure};
}

// The picture of the texture args name; a failure's text says which file it concerns.
TResult<TMatPicture> Convert(const TMatArgs &args)
{
    // Without a colormap the picture is black.
    TColormap colors;
    if (args.Archive.empty())
    {
        if (!args.Cmp.empty())
        {
            const TResult<TColormap> cmp = LoadCmpFile(args.Cmp);
            if (!cmp)
                return On(args.Cmp, cmp.Error());
            colors = *cmp;
        }
        const TResult<std::string> bytes = ReadWholeFile(args.Mat);
        if (!bytes)
            return On(args.Mat, bytes.Error());
        TResult<TMatPicture> picture =
            ReadMat(reinterpret_cast<const uint8_t *>(bytes->data()), bytes->size(), colors);
        if (!picture)
            return On(args.Mat, picture.Error());
        return picture;
    }
    const TResult<TGobArchive> archive = ReadGobArchive(args.Archive);
    if (!archive)
        return On(args.Archive, archive.Error());
    if (!args.Cmp.empty())
    {
        const TResult<int> index = MemberIndex(*archive, args.Cmp);
        if (!index)
            return TFailure{index.Error()};
        const TResult<TColormap> cmp = ReadCmp(*archive, *index);
        if (!cmp)
            return On(args.Archive + ": " + args.Cmp, cmp.Error());
        colors = *cmp;
    }
    const TResult<int> index = MemberIndex(*archive, args.Mat);
    if (!index)
        return TFailure{index.Error()};
    TResult<TMatPicture> picture = LoadMatFromArchive(*archive, *index, colors);
    if (!picture)
        return On(args.Archive + ": " + args.Mat, picture.Error());
    return picture;
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
    const TResult<TMatPicture> picture = Convert(parsed);
    if (!picture)
    {
        std::fprintf(stderr, "qxtool mat2bmp: %s\n", picture.Error().c_str());
        return 1;
    }
    // Through a temporary file, so a failed write never leaves half a picture behind.
    const TStatus written =
        WriteFileAtomic(parsed.Out, std::string(picture->Bmp.begin(), picture->Bmp.end()));
    if (!written)
    {
        std::fprintf(stderr, "qxtool mat2bmp: %s: %s\n", parsed.Out.c_str(),
                     written.Error().c_str());
        return 1;
    }
    std::printf("%s\n%s\n", picture->PixelSizeText.c_str(), picture->GridSizeText.c_str());
    return 0;
}
