// The reference data files as the build ships them (verb.qx generated from the verb table,
// symbol.qx and extra.qx as written), read the way the Line Builder reads them.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/linebuilder/flagcalc.h"
#include "core/linebuilder/refdata.h"
#include "core/linebuilder/verbtable.h"
#include "core/shell/fileio.h"
#include "core/shell/textutils.h"

namespace {

const std::string ShippedDir = QX_DATA_DIR;

const TRefNode &Branch(const TRefData &data, const char *text)
{
    for (const TRefNode &node : data.Nodes)
        if (node.Text == text)
            return node;
    ADD_FAILURE() << "no top-level node " << text;
    static const TRefNode none;
    return none;
}

// The placeholder the Line Builder fills for each resource kind.
std::string Placeholder(const std::string &kind)
{
    static const std::map<std::string, std::string> placeholders = {
        {"model", "*.3do"},    {"cog", "*.cog"},   {"keyframe", "*.key"},
        {"material", "*.mat"}, {"sound", "*.snd"}, {"template", "template"},
    };
    const auto found = placeholders.find(kind);
    return found == placeholders.end() ? "" : found->second;
}

} // namespace

TEST(RefDataFilesTest, EveryLineIsAHeaderOrAnEntry)
{
    // Any other line would show as an empty node in the tree.
    const std::pair<const char *, const std::vector<TRefHeader> *> files[] = {
        {VerbFileName, &RefVerbHeaders()}, {SymbolFileName, &RefSymbolHeaders()}};
    for (const auto &[name, headers] : files)
    {
        const std::vector<std::string> lines = SplitTextLines(*ReadWholeFile(ShippedDir + name));
        ASSERT_FALSE(lines.empty()) << name;
        std::set<std::string> seenHeaders;
        for (const std::string &line : lines)
        {
            const bool header = std::any_of(headers->begin(), headers->end(),
                                            [&](const TRefHeader &h) { return line == h.Header; });
            if (header)
            {
                EXPECT_TRUE(seenHeaders.insert(line).second) << name << ": twice " << line;
                continue;
            }
            EXPECT_EQ(line.find_first_of("#["), std::string::npos) << name << ": " << line;
            EXPECT_NE(line.find('@', 1), std::string::npos) << name << ": " << line;
            EXPECT_FALSE(SplitAtFields(line).Rest.empty()) << name << ": no description: " << line;
        }
        EXPECT_EQ(seenHeaders.size(), headers->size()) << name;
    }
}

TEST(RefDataFilesTest, EveryVerbStandsOnceInItsSectionWithItsArguments)
{
    const TRefData data = LoadRefData(ShippedDir);
    ASSERT_EQ(data.Message, "");
    ASSERT_EQ(data.IOError, "");
    EXPECT_TRUE(data.Complete);
    EXPECT_EQ(data.Nodes.size(), 3u) << "entries outside any section";

    std::map<std::string, std::vector<std::string>> categoriesOf;
    for (const TRefNode &category : Branch(data, RefVerbsNode).Children)
        for (const TRefNode &entry : category.Children)
            categoriesOf[entry.Text].push_back(category.Text);

    // The two lines the lookup shows for each name, gathered in one pass over the file.
    const std::string verbText = *ReadWholeFile(ShippedDir + VerbFileName);
    std::map<std::string, std::vector<std::string>> shown;
    for (const std::string &line : SplitTextLines(verbText))
        if (line.find('@') != std::string::npos && line.find('[') == std::string::npos)
        {
            const TFields fields = SplitAtFields(line);
            shown[fields.Name].push_back(fields.Name + fields.Value);
            shown[fields.Name].push_back(fields.Rest);
        }
    std::set<std::string> names;
    for (const TVerbFact &verb : VerbTable())
    {
        if (!names.insert(verb.Name).second)
            continue;
        EXPECT_EQ(categoriesOf[verb.Name], std::vector<std::string>{verb.Section}) << verb.Name;

        // The rows of one name are written once: one entry, two lines.
        const std::vector<std::string> &lines = shown[verb.Name];
        ASSERT_EQ(lines.size(), 2u) << verb.Name;
        const std::string &line = lines[0];
        EXPECT_EQ(line, VerbLine(verb));
        const size_t open = line.find('('), close = line.rfind(')');
        ASSERT_TRUE(open == verb.Name.size() && close == line.size() - 1) << line;
        const std::string params = line.substr(open + 1, close - open - 1);
        const size_t count = params.empty() ? 0 : std::count(params.begin(), params.end(), ',') + 1;
        EXPECT_EQ(count, verb.ParamKinds.size()) << line;
        EXPECT_EQ(lines[1], verb.Description);
        // What the Line Builder's lookup shows, for one verb in twenty.
        if (names.size() % 20 == 1)
        {
            EXPECT_EQ(LookupRefText(verb.Name, verbText, std::nullopt).Lines, lines);
        }
    }
    EXPECT_EQ(categoriesOf.size(), names.size()) << "entries that are no verb";
}

TEST(RefDataFilesTest, VerbArgumentsAreReadableWithPlaceholdersAndGameNotes)
{
    for (const TVerbFact &verb : VerbTable())
    {
        for (size_t i = 0; i < verb.ParamKinds.size(); ++i)
        {
            const std::string &kind = verb.ParamKinds[i];
            const std::string &name = verb.ParamNames[i];
            if (!Placeholder(kind).empty())
            {
                EXPECT_EQ(name, Placeholder(kind)) << verb.Name << " argument " << i;
            }
            else if (kind == "flex" || kind == "vector")
            {
                EXPECT_NE(name, "flag*") << verb.Name << ": a flag is a whole number";
            }
        }
        ASSERT_FALSE(verb.Description.empty()) << verb.Name;
        // A verb known to both games may have a row for each.
        const auto rows = FindVerb(verb.Name);
        const bool motsOnly = std::all_of(rows.begin(), rows.end(), [](const TVerbFact *row) {
            return row->Game == TVerbGame::Mots;
        });
        EXPECT_EQ(verb.Description.find("MOTS only") != std::string::npos, motsOnly)
            << verb.Name << ": " << verb.Description;
    }
}

TEST(RefDataFilesTest, EveryFlagVerbOpensTheCalculatorOnItsKind)
{
    // Each flag verb and the kind a double-click on it opens; "" is a plain bit mask, for flag
    // arguments the calculator has no names for (a new verb there should rather get a kind).
    const std::map<std::string, std::string> kinds = {
        {"AIClearMode", ""},
        {"AISetMode", ""},
        {"AttachThingToThingEx", "EditAttach"},
        {"ClearActorFlags", "EditActor"},
        {"ClearAdjoinFlags", "EditAdjoin"},
        {"ClearCogFlags", ""},
        {"ClearDebugModeFlags", ""},
        {"ClearExplosionFlags", "EditExplosion"},
        {"ClearFaceType", "EditSurfaceType"},
        {"ClearGoalFlags", ""},
        {"ClearItemFlags", "EditItem"},
        {"ClearMapModeFlags", ""},
        {"ClearMultiModeFlags", "EditMulti"},
        {"ClearParticleFlags", "EditParticle"},
        {"ClearPhysicsFlags", "EditPhysics"},
        {"ClearSectorFlags", "EditSector"},
        {"ClearSubmodeFlags", ""},
        {"ClearSurfaceFlags", "EditSurface"},
        {"ClearThingAttachFlags", "EditAttach"},
        {"ClearThingFlags", "EditThing"},
        {"ClearTypeFlags", "EditThingType"},
        {"ClearWeaponFlags", "EditWeapon"},
        {"DamageThing", "EditDamage"},
        {"FireProjectile", ""},
        {"FireProjectileData", ""},
        {"FireProjectileLocal", ""},
        {"FirstThingInCone", ""},
        {"FirstThingInView", ""},
        {"MaterialAnim", ""},
        {"PlayKey", ""},
        {"PlaySoundGlobal", "EditSound"},
        {"PlaySoundLocal", "EditSound"},
        {"PlaySoundPos", "EditSound"},
        {"PlaySoundPosLocal", "EditSound"},
        {"PlaySoundThing", "EditSound"},
        {"PlaySoundThingLocal", "EditSound"},
        {"PlayVoiceGlobal", ""},
        {"PlayVoiceLocal", ""},
        {"PlayVoicePos", ""},
        {"PlayVoiceThing", ""},
        {"SendMessageExRadius", ""},
        {"SetActorFlags", "EditActor"},
        {"SetAdjoinFlags", "EditAdjoin"},
        {"SetCameraStateFlags", ""},
        {"SetCogFlags", ""},
        {"SetCollideType", "EditCollide"},
        {"SetDebugModeFlags", ""},
        {"SetExplosionFlags", "EditExplosion"},
        {"SetFaceGeoMode", "EditGeo"},
        {"SetFaceLightMode", "EditLight"},
        {"SetFaceTexMode", "EditSurfaceTex"},
        {"SetFaceType", "EditSurfaceType"},
        {"SetGoalFlags", ""},
        {"SetInvFlags", "EditInv"},
        {"SetItemFlags", "EditItem"},
        {"SetMapModeFlags", ""},
        {"SetMultiModeFlags", "EditMulti"},
        {"SetParticleFlags", "EditParticle"},
        {"SetPhysicsFlags", "EditPhysics"},
        {"SetSectorFlags", "EditSector"},
        {"SetSubmodeFlags", ""},
        {"SetSurfaceFlags", "EditSurface"},
        {"SetThingAttachFlags", "EditAttach"},
        {"SetThingCurGeoMode", "EditGeo"},
        {"SetThingCurLightMode", "EditLight"},
        {"SetThingCurTexMode", "EditSurfaceTex"},
        {"SetThingFlags", "EditThing"},
        {"SetThingGeoMode", "EditGeo"},
        {"SetThingLightMode", "EditLight"},
        {"SetThingTexMode", "EditSurfaceTex"},
        {"SetTypeFlags", "EditThingType"},
        {"SetWeaponFlags", "EditWeapon"},
        {"SurfaceAnim", "EditSurfaceAnim"},
        {"jkClearFlags", "EditJK"},
        {"jkClearSuperFlags", "EditPlayer"},
        {"jkPlayPOVKey", ""},
        {"jkSetFlags", "EditJK"},
        {"jkSetSuperFlags", "EditPlayer"},
    };
    std::map<std::string, std::string> opened;
    for (const TVerbFact &verb : VerbTable())
    {
        const std::string line = VerbLine(verb);
        if (std::count(verb.ParamNames.begin(), verb.ParamNames.end(), "flag*") == 0)
        {
            EXPECT_EQ(line.find("flag*"), std::string::npos) << line;
            continue;
        }
        EXPECT_EQ(std::count(verb.ParamNames.begin(), verb.ParamNames.end(), "flag*"), 1) << line;
        EXPECT_EQ(line.find("Get"), std::string::npos) << line;
        const TFlagKind *kind = OpenedFlagKind(line);
        opened[verb.Name] = kind ? kind->Method : "";
    }
    EXPECT_EQ(opened, kinds);

    // The declarations' flag entries open the cog-flag and the mask kinds.
    for (const auto &[entry, kind] : {std::pair{"flags", "EditCog"}, {"mask", "EditMask"}})
    {
        const TRefLookup found = LookupRefEntry(ShippedDir, entry);
        ASSERT_EQ(found.Lines.size(), 2u) << entry;
        const TFlagKind *opened = OpenedFlagKind(found.Lines[0]);
        ASSERT_TRUE(opened) << found.Lines[0];
        EXPECT_STREQ(opened->Method, kind) << found.Lines[0];
    }
}

TEST(RefDataFilesTest, SymbolsMessagesAndOperatorsAreAllThere)
{
    const TRefData data = LoadRefData(ShippedDir);
    std::set<std::string> verbNames;
    for (const TVerbFact &verb : VerbTable())
        verbNames.insert(verb.Name);
    std::map<std::string, std::set<std::string>> entries;
    for (const TRefNode &category : Branch(data, RefSymbolsNode).Children)
    {
        EXPECT_FALSE(category.Children.empty()) << category.Text;
        for (const TRefNode &entry : category.Children)
        {
            entries[category.Text].insert(entry.Text);
            // A verb of the same name would hide the entry from the lookup.
            EXPECT_EQ(verbNames.count(entry.Text), 0u) << entry.Text;
        }
    }
    for (const char *message : {"startup", "activated", "pulse", "timer", "entered", "killed",
                                "damaged", "created", "touched", "arrived", "user0"})
        EXPECT_EQ(entries["- Message"].count(message), 1u) << message;
    for (const char *extension : {"local", "desc", "mask", "linkid", "nolink", "flags"})
        EXPECT_EQ(entries["- Symbol Operators"].count(extension), 1u) << extension;

    // Each operator of the script language is one item, its first word the operator.
    std::set<std::string> operators;
    for (const std::string &item : data.Operators)
    {
        const TWords words = LineWords(item);
        EXPECT_TRUE(operators.insert(words[0]).second) << item;
        EXPECT_FALSE(words[1].empty()) << "no meaning: " << item;
    }
    const std::set<std::string> language = {
        "%", "*", "+", "-", "/", "!", "!=", "<", "<=", "=", "==", ">", ">=", "&", "&&", "|", "||"};
    EXPECT_EQ(operators, language);
}
