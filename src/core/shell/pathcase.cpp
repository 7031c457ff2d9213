#include "core/shell/pathcase.h"

#include "core/shell/fileio.h"

TResult<std::string> ResolveFoldersNoCase(const std::string &base, const std::string &relPath,
                                          bool createMissing)
{
    std::string resolved = base;
    size_t start = 0;
    for (size_t slash = relPath.find('/'); slash != std::string::npos;
         slash = relPath.find('/', start))
    {
        const std::string part = relPath.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".")
            continue;
        std::string folder = FindFolderNoCase(resolved, part);
        if (folder.empty())
        {
            folder = resolved + part;
            if (createMissing && !CreateDir(folder))
                return TFailure{"Cannot create folder " + folder};
        }
        resolved = folder + "/";
    }
    return resolved + relPath.substr(start);
}
