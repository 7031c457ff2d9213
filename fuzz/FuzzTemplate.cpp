// Arbitrary bytes as a template file: the table never grows past its entries, keeps no
// comment or line-break characters, and every listed name is found again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/gamedata/archive.h"
#include "core/gamedata/templates.h"
#include "core/shell/textutils.h"
#include "fuzz/fuzzcheck.h"

namespace {
// Lookups per input; each scans the whole table.
constexpr int MaxLookups = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    TTPLRec table;
    const int dropped = LoadTemplateText(text, table);
    Check(dropped >= 0);
    int lookups = 0;
    for (int k = 0; k < MaxTemplates; ++k)
    {
        const std::string &line = table.TplLine[k];
        Check(line.find_first_of("#\r\n\t") == std::string::npos);
        const std::string &name = table.TplName[k];
        if (name.empty() || lookups >= MaxLookups)
            continue;
        ++lookups;
        // The name is the line's first word, so the line found starts with it.
        const std::string found = FindTemplate(table, name);
        Check(found.compare(0, name.size(), name) == 0);
    }
    // Every line without "#" either took a slot or was counted as dropped.
    int kept = 0;
    for (const std::string &line : SplitTextLines(text))
        if (line.find('#') == std::string::npos)
            ++kept;
    Check(dropped == (kept > MaxTemplates ? kept - MaxTemplates : 0));
    return 0;
}
