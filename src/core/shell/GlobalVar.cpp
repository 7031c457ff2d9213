#include "core/shell/GlobalVar.h"

#include <filesystem>
#include <system_error>

#include "core/shell/fileio.h"

std::string AppVersion;
std::string ProgramDir;
std::string DataDir;
std::string CogDir;
std::string TemplateFile;
std::string JKDir;
std::string MotsDir;
std::string ProjectDir;
std::string ArchivePath;
bool UseJK = false;
TCOGChecker *TheChecker = nullptr;

std::array<std::string, MaxWords> Words;
std::string NamePart;
std::string ValuePart;
std::string RestPart;

TSym SymbolTable;

namespace fs = std::filesystem;

void SetProgramDir(const std::string &folder)
{
    ProgramDir = folder;
    DataDir = ProgramDir + "qxdata/";
    CogDir = ProgramDir + "cog/";
}

namespace {
bool IsWritableFolder(const fs::path &folder)
{
    std::error_code ec;
    const fs::path probe = folder / ".quillex-write-test";
    {
        fs::create_directories(folder, ec);
        FILE *file = std::fopen(probe.string().c_str(), "wb");
        if (!file)
            return false;
        std::fclose(file);
    }
    fs::remove(probe, ec);
    return true;
}
} // namespace

std::string ChooseProgramDir(const std::string &executableFolder, const std::string &userFolder)
{
    const fs::path installed = ToPath(executableFolder);
    if (userFolder.empty() || IsWritableFolder(installed))
        return executableFolder;

    SeedUserFolder(executableFolder, userFolder);
    return userFolder;
}

void SeedUserFolder(const std::string &installedFolder, const std::string &userFolder)
{
    std::error_code ec;
    const fs::path installed = ToPath(installedFolder);
    const fs::path user = ToPath(userFolder);
    fs::create_directories(user, ec);
    for (const char *sub : {"qxdata", "cog", "help"})
    {
        const fs::path from = installed / sub;
        if (!fs::is_directory(from, ec))
            continue;
        fs::copy(from, user / sub, fs::copy_options::recursive | fs::copy_options::skip_existing,
                 ec);
    }
}
