#include "core/gamedata/memberfile.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "core/gamedata/G_fileops.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"

TMemberTarget CompareMemberWithFile(const std::string &archivePath, int index,
                                    const std::string &target)
{
    if (!FileExists(target))
        return TMemberTarget::Missing;
    if (index < 0 || index >= GobEntryCount())
        throw std::out_of_range("Archive member index out of range");
    const TGobEntry &entry = GobDirectory[index];
    TBinFile file;
    file.OpenRead(target);
    if (entry.Length < 0 || file.Size() != entry.Length)
        return TMemberTarget::Differs;
    TBinFile archive;
    archive.OpenRead(archivePath);
    if (entry.Offset < 0 || static_cast<int64_t>(entry.Offset) + entry.Length > archive.Size())
        throw TIOError::ReadBeyondEnd();
    archive.Seek(entry.Offset);
    std::vector<char> mine(CopyBlockSize);
    std::vector<char> theirs(CopyBlockSize);
    for (int64_t left = entry.Length; left > 0;)
    {
        const size_t block =
            left > static_cast<int64_t>(CopyBlockSize) ? CopyBlockSize : static_cast<size_t>(left);
        archive.Read(mine.data(), block);
        file.Read(theirs.data(), block);
        if (std::memcmp(mine.data(), theirs.data(), block) != 0)
            return TMemberTarget::Differs;
        left -= static_cast<int64_t>(block);
    }
    return TMemberTarget::Same;
}
