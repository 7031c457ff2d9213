#include "core/gamedata/memberfile.h"

#include <cstring>
#include <vector>

#include "core/gamedata/archive.h"
#include "core/shell/binfile.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"

TResult<TMemberTarget> CompareMemberWithFile(const TGobArchive &archive, int index,
                                             const std::string &target)
{
    if (!FileExists(target))
        return TMemberTarget::Missing;
    const TGobEntry &entry = GobMemberEntry(archive, index);
    return CatchIOError([&]() -> TResult<TMemberTarget> {
        TBinFile file;
        file.OpenRead(target);
        if (entry.Length < 0 || file.Size() != entry.Length)
            return TMemberTarget::Differs;
        TBinFile member;
        int64_t left = OpenGobMember(member, archive, index);
        std::vector<char> mine(CopyBlockSize);
        std::vector<char> theirs(CopyBlockSize);
        while (left > 0)
        {
            const size_t block = left > static_cast<int64_t>(CopyBlockSize)
                                     ? CopyBlockSize
                                     : static_cast<size_t>(left);
            member.Read(mine.data(), block);
            file.Read(theirs.data(), block);
            if (std::memcmp(mine.data(), theirs.data(), block) != 0)
                return TMemberTarget::Differs;
            left -= static_cast<int64_t>(block);
        }
        return TMemberTarget::Same;
    });
}
