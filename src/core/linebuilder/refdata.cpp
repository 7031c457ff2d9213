#include "core/linebuilder/refdata.h"

#include "core/shell/fileio.h"
#include "core/shell/result.h"
#include "core/shell/textutils.h"

const std::vector<TRefHeader> &RefVerbHeaders()
{
    static const std::vector<TRefHeader> headers = {
        {"[Actor]", "Actor"},       {"[Anim]", "Animation_Keys"}, {"[Inv]", "Inventory"},
        {"[Multi]", "Multiplayer"}, {"[O/P]", "Output"},          {"[Player]", "Player"},
        {"[Sector]", "Sector"},     {"[Snd]", "Sound"},           {"[Eff]", "Special_Effects"},
        {"[Surf]", "Surface"},      {"[Sys]", "System"},          {"[Thing]", "Thing"},
        {"[Vec]", "Vector"},        {"[Wep]", "Weapons"},         {"[Wrld]", "World"},
    };
    return headers;
}

const std::vector<TRefHeader> &RefSymbolHeaders()
{
    static const std::vector<TRefHeader> headers = {
        {"[Operators]", "- Symbol Operators"},
        {"[Ai]", "- Ai"},
        {"[Cog]", "- Cog"},
        {"[Flex]", "- Flex"},
        {"[Int2]", "- Int"},
        {"[Key]", "- KeyFrame"},
        {"[Mat]", "- Material"},
        {"[Mess]", "- Message"},
        {"[Model2]", "- Model"},
        {"[Sect]", "- Sector"},
        {"[Sound]", "- Sound"},
        {"[Surface]", "- Surface"},
        {"[Template]", "- Template"},
        {"[Thing2]", "- Thing"},
        {"[Vector]", "- Vector"},
    };
    return headers;
}

namespace {

bool Has(std::string_view line, char c)
{
    return line.find(c) != std::string_view::npos;
}

// The name of a line that is not a header: its first field, empty without an "@".
std::string NameOf(std::string_view line)
{
    return SplitAtFields(line).Name;
}

// Where the entries of one file go: the category node chosen by the last known header, or
// the top level while there is none. The choice carries over from verb.qx to symbol.qx.
struct TTreeCursor
{
    TRefData *Data = nullptr;
    // The top-level branch and the index of the category under it; no branch at first.
    std::optional<size_t> Branch;
    size_t Category = 0;

    void Add(std::string text)
    {
        if (Branch)
            Data->Nodes[*Branch].Children[Category].Children.push_back({std::move(text), {}});
        else
            Data->Nodes.push_back({std::move(text), {}});
    }
};

// Adds a node per line of one file under the categories its headers select. branch is the
// top-level node whose children are the categories of headers, in the same order.
void AddFileNodes(const std::string &text, const std::vector<TRefHeader> &headers, size_t branch,
                  TTreeCursor &cursor)
{
    const std::vector<std::string> lines = SplitTextLines(text);
    for (size_t i = 0; i < lines.size(); ++i)
    {
        std::string line = lines[i];
        if (Has(line, '#'))
            line.clear();
        if (Has(line, '['))
        {
            // A header. The line after it is taken without the comment test, so a first entry
            // whose description holds a "#" still gets its node. A further header there is
            // a header too (an empty section), and a header at the end adds nothing.
            bool atEnd = false;
            while (Has(line, '['))
            {
                for (size_t k = 0; k < headers.size(); ++k)
                    if (line == headers[k].Header)
                    {
                        cursor.Branch = branch;
                        cursor.Category = k;
                    }
                if (i + 1 >= lines.size())
                {
                    atEnd = true;
                    break;
                }
                line = lines[++i];
            }
            if (atEnd)
                break;
        }
        cursor.Add(NameOf(line));
    }
}

TRefNode BranchNode(const char *text, const std::vector<TRefHeader> &headers)
{
    TRefNode node{text, {}};
    for (const TRefHeader &header : headers)
        node.Children.push_back({header.Category, {}});
    return node;
}

// A text the loading asks for: the text, nothing when its file is missing, or the failure of
// reading the file.
using TFetched = TResult<std::optional<std::string>>;

// A file of dataDir, or nothing when there is none.
TFetched ReadDataFile(const std::string &dataDir, const char *name)
{
    const std::string path = FindFileNoCase(dataDir, name);
    if (path.empty())
        return std::optional<std::string>();
    TResult<std::string> text = ReadWholeFile(path);
    if (!text)
        return TFailure{text.Error()};
    return std::optional<std::string>(std::move(*text));
}

// Appends the two lines of every entry of text named caption; true when one was found.
bool FindEntries(const std::string &text, const std::string &caption,
                 std::vector<std::string> &lines)
{
    bool found = false;
    for (const std::string &line : SplitTextLines(text))
    {
        // Only an entry line carries a name: one without "#" and "[" that holds an "@".
        if (Has(line, '#') || Has(line, '[') || !Has(line, '@'))
            continue;
        const TFields fields = SplitAtFields(line);
        if (fields.Name != caption)
            continue;
        lines.push_back(caption + fields.Value);
        lines.push_back(fields.Rest);
        found = true;
    }
    return found;
}

// Runs the loading with texts fetched on demand, so a file is read only when the loading gets
// that far.
template <typename Fetch> TRefData Load(Fetch fetch)
{
    TRefData data;
    data.Nodes.push_back(BranchNode(RefVerbsNode, RefVerbHeaders()));
    data.Nodes.push_back({RefSymbolsUsedNode, {}});
    data.Nodes.push_back(BranchNode(RefSymbolsNode, RefSymbolHeaders()));
    TTreeCursor cursor{&data, std::nullopt, 0};
    const char *const names[] = {VerbFileName, SymbolFileName, ExtraFileName};
    const char *const messages[] = {NoVerbFileMessage, NoSymbolFileMessage, NoExtraFileMessage};
    for (int file = 0; file < 3; ++file)
    {
        const TFetched fetched = fetch(names[file]);
        if (!fetched)
        {
            data.IOError = fetched.Error();
            return data;
        }
        const std::optional<std::string> &text = *fetched;
        if (!text)
        {
            data.Message = messages[file];
            return data;
        }
        if (file == 0)
            AddFileNodes(*text, RefVerbHeaders(), 0, cursor);
        else if (file == 1)
            AddFileNodes(*text, RefSymbolHeaders(), 2, cursor);
        else
            data.Operators = SplitTextLines(*text);
    }
    data.Complete = true;
    return data;
}

template <typename Fetch> TRefLookup Lookup(const std::string &caption, Fetch fetch)
{
    TRefLookup result;
    const TFetched verbs = fetch(VerbFileName);
    if (!verbs)
    {
        result.IOError = verbs.Error();
        return result;
    }
    const std::optional<std::string> &verbText = *verbs;
    if (!verbText)
    {
        result.Message = NoVerbFileMessage;
        return result;
    }
    if (!FindEntries(*verbText, caption, result.Lines))
    {
        const TFetched symbols = fetch(SymbolFileName);
        if (!symbols)
        {
            result.IOError = symbols.Error();
            return result;
        }
        const std::optional<std::string> &symbolText = *symbols;
        if (!symbolText)
        {
            result.Message = NoSymbolFileMessage;
            return result;
        }
        FindEntries(*symbolText, caption, result.Lines);
    }
    result.HideOperators = true;
    return result;
}

} // namespace

TRefData LoadRefData(const std::string &dataDir)
{
    return Load([&dataDir](const char *name) { return ReadDataFile(dataDir, name); });
}

TRefData BuildRefData(const std::optional<std::string> &verbText,
                      const std::optional<std::string> &symbolText,
                      const std::optional<std::string> &extraText)
{
    return Load([&](const char *name) {
        const std::string_view file = name;
        return file == VerbFileName ? verbText : file == SymbolFileName ? symbolText : extraText;
    });
}

TRefLookup LookupRefEntry(const std::string &dataDir, const std::string &caption)
{
    return Lookup(caption, [&dataDir](const char *name) { return ReadDataFile(dataDir, name); });
}

TRefLookup LookupRefText(const std::string &caption, const std::optional<std::string> &verbText,
                         const std::optional<std::string> &symbolText)
{
    return Lookup(caption, [&](const char *name) {
        return std::string_view(name) == VerbFileName ? verbText : symbolText;
    });
}

namespace {

// The parameter names of a verb in parentheses, separator between them.
std::string ParamList(const TVerbFact &verb, std::string_view separator)
{
    std::string list = "(";
    for (size_t i = 0; i < verb.ParamNames.size(); ++i)
    {
        if (i > 0)
            list += separator;
        list += verb.ParamNames[i];
    }
    return list + ")";
}

// Why text cannot stand in an entry line, or nothing when it can.
std::string BadCharacter(std::string_view text, std::string_view forbidden)
{
    for (const char c : text)
        if (forbidden.find(c) != std::string_view::npos || c == '\n' || c == '\r')
        {
            if (c == '\n' || c == '\r')
                return "a line break";
            return std::string("a '") + c + "'";
        }
    return {};
}

} // namespace

std::string VerbLine(const TVerbFact &verb)
{
    return verb.Name + ParamList(verb, ", ");
}

TVerbQxResult FormatVerbQx(const std::vector<TVerbFact> &verbs)
{
    TVerbQxResult result;
    for (const TVerbFact &verb : verbs)
    {
        const auto fail = [&](const std::string &what) {
            result.Error = "'" + verb.Name + "': " + what;
            result.Text.clear();
        };
        bool known = false;
        for (const TRefHeader &header : RefVerbHeaders())
            known = known || verb.Section == header.Category;
        if (!known)
            fail("no verb section is called '" + verb.Section + "'");
        else if (verb.Name.empty() || !BadCharacter(verb.Name, "#[@& ").empty())
            fail("the name must be one word without '#', '[', '@' or '&'");
        for (const std::string &name : verb.ParamNames)
            if (result.Error.empty() && (name.empty() || !BadCharacter(name, "#[@&, ()").empty()))
                fail("parameter name '" + name + "' is empty or holds a blank or one of #[@&,()");
        if (result.Error.empty())
            if (const std::string bad = BadCharacter(verb.Description, "#[@&"); !bad.empty())
                fail("the description holds " + bad);
        if (!result.Error.empty())
            return result;
    }

    for (const TRefHeader &header : RefVerbHeaders())
    {
        result.Text += header.Header;
        result.Text += '\n';
        std::vector<std::string> written;
        for (const TVerbFact &verb : verbs)
        {
            if (verb.Section != header.Category)
                continue;
            // The parameter field, "(a,&b)", has "&" for each blank.
            std::string line = verb.Name + "@" + ParamList(verb, ",&") + "@" + verb.Description;
            bool again = false;
            for (const std::string &done : written)
                again = again || done == line;
            if (again)
                continue;
            result.Text += line;
            result.Text += '\n';
            written.push_back(std::move(line));
        }
    }
    return result;
}

const std::vector<TResourcePlaceholder> &ResourcePlaceholders()
{
    static const std::vector<TResourcePlaceholder> placeholders = {
        {"*.3do", ".3do"}, {"*.cog", ".cog"}, {"*.key", ".key"},
        {"*.mat", ".mat"}, {"*.snd", ".snd"},
    };
    return placeholders;
}

std::string FillResourcePlaceholders(std::string selected,
                                     const std::function<std::string(const std::string &)> &pick)
{
    for (const TResourcePlaceholder &placeholder : ResourcePlaceholders())
    {
        const std::string_view text = placeholder.Text;
        const size_t at = selected.find(text);
        if (at == std::string::npos)
            continue;
        const std::string name = pick(placeholder.Extension);
        if (!name.empty())
            selected.replace(at, text.size(), name);
    }
    return selected;
}

std::string PutTemplateName(std::string selected, const std::string &name)
{
    const size_t at = selected.find(TemplatePlaceholder);
    if (!name.empty() && at != std::string::npos)
        selected.replace(at, TemplatePlaceholder.size(), name);
    return selected;
}
