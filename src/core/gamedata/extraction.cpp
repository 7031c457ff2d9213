#include "core/gamedata/extraction.h"

#include <set>

#include "core/gamedata/archive.h"
#include "core/gamedata/memberfile.h"
#include "core/shell/pathcase.h"

TExtractResult ExtractMembers(const TGobArchive &archive, const std::vector<int> &indices,
                              const std::string &targetDir, const TExtractHandlers &handlers)
{
    TExtractResult result;
    std::set<std::string> taken;
    bool replaceAll = false;
    const auto note = [&](TExtractNote::TKind kind, int index, const std::string &name,
                          const std::string &target, const std::string &message) {
        if (kind == TExtractNote::TKind::Refused || kind == TExtractNote::TKind::Failed)
            result.Problems = true;
        if (handlers.OnNote && !handlers.OnNote({kind, index, name, target, message}))
            result.Stopped = true;
    };
    for (const int index : indices)
    {
        if (result.Stopped)
            break;
        if (handlers.OnMember)
            handlers.OnMember(index);
        const std::string name = GobEntryName(archive, index);
        std::string relPath;
        std::string refusal;
        // The names come from a file anyone can write and become paths below the user's folder.
        if (!MemberPathToRelative(name, relPath, refusal))
        {
            note(TExtractNote::TKind::Refused, index, name, std::string(), refusal);
            continue;
        }
        const std::string filePath = handlers.ToFilePath ? handlers.ToFilePath(relPath) : relPath;
        const TResult<std::string> resolved = ResolveFoldersNoCase(targetDir, filePath, true);
        if (!resolved)
        {
            note(TExtractNote::TKind::Failed, index, name, std::string(), resolved.Error());
            continue;
        }
        const std::string &target = *resolved;
        // Two entries with one name (their folders in any letter case): the first is the one
        // the game and the program use, so a later one does not overwrite it.
        if (!taken.insert(target).second)
        {
            note(TExtractNote::TKind::Duplicate, index, name, std::string(), std::string());
            continue;
        }
        const TResult<TMemberTarget> existing = CompareMemberWithFile(archive, index, target);
        if (!existing)
        {
            note(TExtractNote::TKind::Failed, index, name, target, existing.Error());
            continue;
        }
        switch (*existing)
        {
        case TMemberTarget::Same:
            continue;
        case TMemberTarget::Missing:
            break;
        case TMemberTarget::Differs:
            if (replaceAll)
                break;
            switch (handlers.OnDiffers ? handlers.OnDiffers(target) : TDiffersAnswer::Keep)
            {
            case TDiffersAnswer::Replace:
                break;
            case TDiffersAnswer::ReplaceAll:
                replaceAll = true;
                break;
            case TDiffersAnswer::Keep:
                note(TExtractNote::TKind::Kept, index, name, target, std::string());
                continue;
            case TDiffersAnswer::Cancel:
                result.Stopped = true;
                continue;
            }
            break;
        }
        if (const TStatus copied = CopyGobMemberToFile(archive, index, target); !copied)
        {
            note(TExtractNote::TKind::Failed, index, name, target, copied.Error());
            continue;
        }
        result.Written.push_back(target);
    }
    return result;
}
