// Arbitrary bytes as the three reference data files (cut into verb.qx, symbol.qx and
// extra.qx at the first two NUL bytes): the tree keeps its fixed nodes, no node text holds a
// header or line-break character, and the lookup of an entry node shows lines in pairs, each
// pair's first line beginning with the name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/linebuilder/refdata.h"
#include "fuzz/fuzzcheck.h"

namespace {
// Lookups per input; each scans the whole text.
constexpr int MaxLookups = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const size_t first = bytes.find('\0');
    const size_t second = first == bytes.npos ? bytes.npos : bytes.find('\0', first + 1);
    const std::string verb(bytes.substr(0, first));
    const std::string symbol(first == bytes.npos ? ""
                                                 : bytes.substr(first + 1, second - first - 1));
    const std::string extra(second == bytes.npos ? "" : bytes.substr(second + 1));

    const TRefData tree = BuildRefData(verb, symbol, extra);
    Check(tree.Complete && tree.Message.empty());
    Check(tree.Nodes.size() >= 3 && tree.Nodes[0].Children.size() == 15 &&
          tree.Nodes[1].Children.empty() && tree.Nodes[2].Children.size() == 15);
    int lookups = 0;
    const auto checkEntry = [&](const TRefNode &entry) {
        Check(entry.Text.find_first_of("[\r\n") == std::string::npos);
        if (entry.Text.empty() || lookups >= MaxLookups)
            return;
        ++lookups;
        const TRefLookup found = LookupRefText(entry.Text, verb, symbol);
        Check(found.HideOperators && found.Lines.size() % 2 == 0);
        for (size_t i = 0; i < found.Lines.size(); i += 2)
            Check(found.Lines[i].compare(0, entry.Text.size(), entry.Text) == 0);
    };
    for (size_t top = 0; top < tree.Nodes.size(); ++top)
    {
        if (top > 2)
            checkEntry(tree.Nodes[top]);
        else
            for (const TRefNode &category : tree.Nodes[top].Children)
                for (const TRefNode &entry : category.Children)
                    checkEntry(entry);
    }
    return 0;
}
