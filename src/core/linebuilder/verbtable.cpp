#include "core/linebuilder/verbtable.h"

#include <algorithm>
#include <string>
#include <unordered_map>

// The text of verbs.tsv, embedded by the build.
extern const char QxVerbTableText[];

namespace {

std::vector<std::string> SplitOn(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true)
    {
        const size_t end = text.find(separator, start);
        parts.emplace_back(
            text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::vector<std::string> SplitList(const std::string &field)
{
    if (field.empty() || field == "-")
        return {};
    return SplitOn(field, ',');
}

std::string LineError(size_t line, const std::string &what)
{
    return "line " + std::to_string(line) + ": " + what;
}

} // namespace

TVerbTableResult ParseVerbTable(std::string_view text)
{
    TVerbTableResult result;
    std::vector<std::string> columns;
    auto column = [&columns](std::string_view name) {
        const auto found = std::find(columns.begin(), columns.end(), name);
        return found == columns.end() ? -1 : static_cast<int>(found - columns.begin());
    };
    int nameCol = -1, kindsCol = -1, namesCol = -1, returnsCol = -1, sectionCol = -1;
    int gameCol = -1, descriptionCol = -1;

    size_t lineNumber = 0;
    for (std::string line : SplitOn(text, '\n'))
    {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields = SplitOn(line, '\t');
        if (columns.empty())
        {
            columns = fields;
            nameCol = column("name");
            kindsCol = column("param_kinds");
            namesCol = column("param_names");
            returnsCol = column("returns");
            sectionCol = column("section");
            gameCol = column("game");
            descriptionCol = column("description");
            if (nameCol < 0 || kindsCol < 0 || returnsCol < 0 || sectionCol < 0 || gameCol < 0)
            {
                result.Error = LineError(lineNumber, "the header lacks a needed column");
                return result;
            }
            continue;
        }
        if (fields.size() != columns.size())
        {
            result.Error =
                LineError(lineNumber, "expected " + std::to_string(columns.size()) +
                                          " fields, found " + std::to_string(fields.size()));
            return result;
        }
        TVerbFact verb;
        verb.Name = fields[nameCol];
        verb.ParamKinds = SplitList(fields[kindsCol]);
        verb.ParamNames = namesCol < 0 ? verb.ParamKinds : SplitList(fields[namesCol]);
        verb.Returns = fields[returnsCol];
        verb.Section = fields[sectionCol];
        if (descriptionCol >= 0)
            verb.Description = fields[descriptionCol];
        const std::string &game = fields[gameCol];
        if (game == "JK+MOTS")
            verb.Game = TVerbGame::Both;
        else if (game == "JK")
            verb.Game = TVerbGame::JK;
        else if (game == "MOTS")
            verb.Game = TVerbGame::Mots;
        else
        {
            result.Error = LineError(lineNumber, "unknown game '" + game + "'");
            return result;
        }
        if (verb.Name.empty())
        {
            result.Error = LineError(lineNumber, "a verb without a name");
            return result;
        }
        if (verb.ParamNames.size() != verb.ParamKinds.size())
        {
            result.Error = LineError(lineNumber, "'" + verb.Name +
                                                     "' has a different number of "
                                                     "parameter names and kinds");
            return result;
        }
        result.Verbs.push_back(std::move(verb));
    }
    if (columns.empty())
        result.Error = "no header line";
    return result;
}

const std::vector<TVerbFact> &VerbTable()
{
    // The embedded table is checked by the tests; a broken one would give an empty table here.
    static const std::vector<TVerbFact> table = ParseVerbTable(QxVerbTableText).Verbs;
    return table;
}

const TVerbIndex &VerbIndex()
{
    static const TVerbIndex index = [] {
        TVerbIndex built;
        for (const TVerbFact &verb : VerbTable())
            built[LowerAscii(verb.Name)].push_back(&verb);
        return built;
    }();
    return index;
}

const std::vector<const TVerbFact *> &FindVerb(std::string_view name)
{
    return FindVerb(VerbIndex(), name);
}

const std::vector<const TVerbFact *> &FindVerb(const TVerbIndex &index, std::string_view name)
{
    static const std::vector<const TVerbFact *> none;
    // Names the lexer gives are in small letters already and are looked up as they are.
    auto found = index.find(name);
    if (found == index.end())
    {
        const std::string lower = LowerAscii(name);
        if (lower != name)
            found = index.find(lower);
    }
    return found == index.end() ? none : found->second;
}
