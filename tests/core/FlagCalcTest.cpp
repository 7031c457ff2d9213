#include "core/linebuilder/flagcalc.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

void Tick(TFlagCalc &calc, const std::vector<int> &positions)
{
    for (const int position : positions)
        calc.Ticks[position] = true;
}

bool AnyTick(const TFlagCalc &calc)
{
    for (const bool tick : calc.Ticks)
        if (tick)
            return true;
    return false;
}

std::vector<int> AllPositions()
{
    std::vector<int> all;
    for (int i = 0; i < FlagBitCount; ++i)
        all.push_back(i);
    return all;
}

} // namespace

TEST(FlagCalcTest, TicksWriteTheValueTheGameReads)
{
    struct Case
    {
        const char *Line;
        std::vector<int> Ticks;
        const char *Title;
        bool SingleChoice;
        // One label of the opened kind worth pinning, and its position.
        int Position;
        const char *Label;
        const char *Written;
    };
    const Case cases[] = {
        {"SetActorFlags(player, flag*)",
         {3, 5},
         "Actor Flags",
         false,
         5,
         "Explodes when killed",
         "SetActorFlags(player, 0x28)"},
        {"SetActorFlags(player, flag*)",
         {31},
         "Actor Flags",
         false,
         31,
         "0x80000000",
         "SetActorFlags(player, 0x80000000)"},
        {"SetThingFlags(thing, flag*)", AllPositions(), "Thing flags", false, 16, "Not in Single",
         "SetThingFlags(thing, 0xFFFFFFFF)"},
        {"SetCollideType(thing, flag*)",
         {0},
         "Collide Type",
         true,
         0,
         "NonTakeable",
         "SetCollideType(thing, 0x0)"},
        {"SetTypeFlags(thing, flag*)",
         {10},
         "Thing type",
         true,
         10,
         "Player",
         "SetTypeFlags(thing, 0xA)"},
        // Damage types are bits, Fall included.
        {"DamageThing(thing, 10, flag*, thing)",
         {4},
         "Damage Type",
         false,
         4,
         "Saber",
         "DamageThing(thing, 10, 0x10, thing)"},
        {"DamageThing(thing, 10, flag*, thing)",
         {5},
         "Damage Type",
         false,
         5,
         "Drowing",
         "DamageThing(thing, 10, 0x20, thing)"},
        {"DamageThing(thing, 10, flag*, thing)",
         {0, 2, 6},
         "Damage Type",
         false,
         6,
         "Fall",
         "DamageThing(thing, 10, 0x45, thing)"},
        {"PlaySoundThing(sound, thing, 1.0, -1, -1, flag*)",
         {16},
         "Sound Flags",
         false,
         16,
         "Voice cannot be overridden by other sounds",
         "PlaySoundThing(sound, thing, 1.0, -1, -1, 0x10000)"},
        {"PlaySoundThing(sound, thing, 1.0, -1, -1, flag*)",
         {12},
         "Sound Flags",
         false,
         12,
         "0x00001000",
         "PlaySoundThing(sound, thing, 1.0, -1, -1, 0x1000)"},
        {"jkSetFlags(player, flag*)",
         {5},
         "Jk Flags",
         false,
         5,
         "Persuasion Twinkling",
         "jkSetFlags(player, 0x20)"},
        {"jkClearFlags(player, flag*)",
         {6},
         "Jk Flags",
         false,
         6,
         "0x00000040",
         "jkClearFlags(player, 0x40)"},
        {"SetPhysicsFlags(thing, flag*)",
         {16},
         "Physics flags",
         false,
         16,
         "Crouching",
         "SetPhysicsFlags(thing, 0x10000)"},
        {"SetPhysicsFlags(thing, flag*)",
         {20},
         "Physics flags",
         false,
         20,
         "On water surface",
         "SetPhysicsFlags(thing, 0x100000)"},
        {"SetParticleFlags(thing, flag*)",
         {5},
         "Particle flags",
         false,
         5,
         "Random cel changes",
         "SetParticleFlags(thing, 0x20)"},
        // Looping with a skip is the or of the two bits.
        {"SurfaceAnim(surface, 8, flag*)",
         {0, 1},
         "Surface Anim ",
         false,
         1,
         "Skip first Frame",
         "SurfaceAnim(surface, 8, 0x3)"},
        {"SurfaceAnim(surface, 8, flag*)",
         {0, 2},
         "Surface Anim ",
         false,
         2,
         "Skip first 2 frames",
         "SurfaceAnim(surface, 8, 0x5)"},
        {"SetWeaponFlags(thing, flag*)",
         {2},
         "Weapon Flags",
         false,
         2,
         "Explodes when world surface hit",
         "SetWeaponFlags(thing, 0x4)"},
        {"SetWeaponFlags(thing, flag*)",
         {22},
         "Weapon Flags",
         false,
         3,
         "Explodes when thing hit",
         "SetWeaponFlags(thing, 0x400000)"},
        // The keyword ending latest decides labels, title and mode alike: a light mode is
        // one of six values, not a thing-flag bit.
        {"SetThingCurLightMode(thing, flag*)",
         {4},
         "Light Mode",
         true,
         3,
         "Gourand (normal light)",
         "SetThingCurLightMode(thing, 0x4)"},
        {"SetSurfaceFlags(surface, flag*) LightMode",
         {3},
         "Light Mode",
         true,
         3,
         "Gourand (normal light)",
         "SetSurfaceFlags(surface, 0x3) LightMode"},
        {"SetSurfaceFlags(surface, flag*) LightMode",
         {31},
         "Light Mode",
         true,
         31,
         "0x1F",
         "SetSurfaceFlags(surface, 0x1F) LightMode"},
        // Where the placeholder stands, and which one is replaced.
        {"SetActorFlags(flag*, flag*)",
         {2},
         "Actor Flags",
         false,
         2,
         "Field Light",
         "SetActorFlags(0x4, flag*)"},
        {"flag* ActorFlag", {0}, "Actor Flags", false, 0, "0x00000001", "0x1 ActorFlag"},
        {"ActorFlag flag*", {0}, "Actor Flags", false, 0, "0x00000001", "ActorFlag 0x1"},
        {"flag=flag* z", {6}, "Cog Flags", false, 6, "Local", "flag=0x40"},
        {"mask=flag* # comment", {1, 10}, "Mask Flags", false, 11, "Particle Cloud", "mask=0x402"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.Line);
        TFlagCalc calc;
        ASSERT_TRUE(calc.Open(c.Line));
        EXPECT_TRUE(calc.IsOpen);
        EXPECT_EQ(calc.Title, c.Title);
        EXPECT_EQ(calc.SingleChoiceMode, c.SingleChoice);
        EXPECT_EQ(calc.Labels[c.Position], c.Label);
        Tick(calc, c.Ticks);
        ASSERT_EQ(calc.FlagOKClick(), TFlagOutcome::Written);
        EXPECT_EQ(calc.FlagLine, c.Written);
        EXPECT_FALSE(calc.IsOpen);
        EXPECT_FALSE(AnyTick(calc));
        EXPECT_TRUE(calc.FlagValue.empty());
        EXPECT_FALSE(calc.SingleChoiceMode);
        EXPECT_FALSE(calc.DropTail);
    }
}

TEST(FlagCalcTest, FlagsWithoutAValueLeaveTheCalculatorOpen)
{
    TFlagCalc calc;
    ASSERT_TRUE(calc.Open("SetActorFlags(player, flag*)"));
    EXPECT_EQ(calc.FlagOKClick(), TFlagOutcome::NothingChosen);
    EXPECT_STREQ(FlagOutcomeMessage(TFlagOutcome::NothingChosen), "Choose a flag ");
    EXPECT_TRUE(calc.IsOpen);
    EXPECT_EQ(calc.FlagLine, "SetActorFlags(player, flag*)");

    ASSERT_TRUE(calc.Open("SetCollideType(thing, flag*)"));
    EXPECT_EQ(calc.FlagOKClick(), TFlagOutcome::NothingChosen);
    Tick(calc, {0, 3});
    EXPECT_EQ(calc.FlagOKClick(), TFlagOutcome::MoreThanOne);
    EXPECT_STREQ(FlagOutcomeMessage(TFlagOutcome::MoreThanOne),
                 "More than one bit selected Not Allowed - Redo");
    EXPECT_FALSE(AnyTick(calc));
    EXPECT_TRUE(calc.IsOpen);
    EXPECT_TRUE(calc.FlagValue.empty());
    EXPECT_EQ(calc.FlagLine, "SetCollideType(thing, flag*)");
    // Still single choice: a fresh tick is read as a position.
    Tick(calc, {3});
    EXPECT_EQ(calc.FlagOKClick(), TFlagOutcome::Written);
    EXPECT_EQ(calc.FlagLine, "SetCollideType(thing, 0x3)");
}

TEST(FlagCalcTest, TicksSurviveAnOpeningButNotAWrite)
{
    TFlagCalc calc;
    ASSERT_TRUE(calc.Open("SetActorFlags(player, flag*)"));
    Tick(calc, {3});
    // Closed without writing; the next opening keeps the tick.
    ASSERT_TRUE(calc.Open("SetThingFlags(thing, flag*)"));
    EXPECT_TRUE(calc.Ticks[3]);
    // A "Get" line opens nothing; the open calculator still writes into its own line.
    EXPECT_FALSE(calc.Open("GetThingFlags(flag*)"));
    EXPECT_TRUE(calc.IsOpen);
    Tick(calc, {1});
    ASSERT_EQ(calc.FlagOKClick(), TFlagOutcome::Written);
    EXPECT_EQ(calc.FlagLine, "SetThingFlags(thing, 0xA)");
    EXPECT_FALSE(AnyTick(calc));
}

TEST(FlagCalcTest, LinesThatOpenNothingChangeNothing)
{
    TFlagCalc calc;
    for (int i = 0; i < FlagBitCount; ++i)
        EXPECT_EQ(calc.Labels[i], "Bit" + std::to_string(i));
    for (const char *line : {"GetActorFlags(flag*)", "SetActorFlags(player, 0x4)", ""})
    {
        SCOPED_TRACE(line);
        EXPECT_FALSE(calc.Open(line));
        EXPECT_FALSE(calc.IsOpen);
        EXPECT_EQ(calc.Labels[0], "Bit0");
        EXPECT_TRUE(calc.Title.empty());
        EXPECT_EQ(OpenedFlagKind(line), nullptr);
    }
    EXPECT_EQ(OpenedFlagKind("Frobnicate(flag*)"), nullptr);
    EXPECT_EQ(OpenedFlagKind("SetThingCurLightMode(thing, flag*)"), FindFlagKind("EditLight"));
    // Two keywords ending together: the later in keyword order ("SetThing" after "GeoMode").
    EXPECT_EQ(MatchFlagKind("xGeoMode SetThing"), FindFlagKind("EditThing"));
    EXPECT_EQ(MatchFlagKind("SetThingGeoMode"), FindFlagKind("EditGeo"));
    EXPECT_EQ(OpenedFlagKind("flag=flag* z"), FindFlagKind("EditCog"));
}

TEST(FlagCalcTest, LineWithoutKeywordIsAPlainBitMask)
{
    TFlagCalc calc;
    ASSERT_TRUE(calc.Open("LightMode(flag*)"));
    ASSERT_TRUE(calc.SingleChoiceMode);
    // The light names are not carried over to a line that names no kind.
    ASSERT_TRUE(calc.Open("Frobnicate(flag*)"));
    EXPECT_FALSE(calc.SingleChoiceMode);
    EXPECT_TRUE(calc.Title.empty());
    EXPECT_EQ(calc.Labels[3], "0x00000008");
    Tick(calc, {3, 4});
    ASSERT_EQ(calc.FlagOKClick(), TFlagOutcome::Written);
    EXPECT_EQ(calc.FlagLine, "Frobnicate(0x18)");
}

TEST(FlagCalcTest, TablesAreWhole)
{
    const std::vector<TFlagKind> &kinds = FlagKinds();
    ASSERT_EQ(kinds.size(), 26u);
    std::set<std::string> singleChoice;
    std::set<const TFlagKind *> reached;
    for (const TFlagKind &kind : kinds)
    {
        SCOPED_TRACE(kind.Method);
        EXPECT_EQ(FindFlagKind(kind.Method), &kind);
        if (kind.SingleChoice)
            singleChoice.insert(kind.Method);
        std::set<int> positions;
        for (const TFlagName &name : kind.Names)
        {
            EXPECT_GE(name.Position, 0);
            EXPECT_LT(name.Position, FlagBitCount);
            EXPECT_TRUE(positions.insert(name.Position).second) << name.Position;
        }
    }
    EXPECT_EQ(singleChoice,
              (std::set<std::string>{"EditCollide", "EditGeo", "EditLight", "EditPlayer",
                                     "EditSurfaceType", "EditSurfaceTex", "EditThingType"}));
    ASSERT_EQ(FlagKeywords().size(), 29u);
    for (const TFlagKeyword &keyword : FlagKeywords())
    {
        ASSERT_NE(keyword.Kind, nullptr) << keyword.Keyword;
        reached.insert(keyword.Kind);
    }
    EXPECT_EQ(reached.size(), kinds.size());
}

TEST(FlagCalcTest, HexFormsOfValuesAndLabels)
{
    const std::pair<const char *, const char *> trims[] = {
        {"00", "0x0"},  {"0A", "0xA"},       {"00000240", "0x240"}, {"80000000", "0x80000000"},
        {"1F", "0x1F"}, {"00000000", "0x0"},
    };
    for (const auto &[digits, trimmed] : trims)
        EXPECT_EQ(TrimHex(digits), trimmed) << digits;
    EXPECT_EQ(BitMaskLabel(0), "0x00000001");
    EXPECT_EQ(BitMaskLabel(31), "0x80000000");
    EXPECT_EQ(SingleChoiceLabel(0), "0x00");
    EXPECT_EQ(SingleChoiceLabel(31), "0x1F");
}

TEST(FlagCalcTest, ValuesNameWhatTheyMeanToTheGame)
{
    const TFlagKind *sound = FindFlagKind("EditSound");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(FlagNamesOf(*sound, 0x81),
              (std::vector<std::string>{"Loops till stopped", "Sound pos moves with thing"}));
    EXPECT_EQ(FlagNamesOf(*sound, 0x80000000), (std::vector<std::string>{"0x80000000"}));
    EXPECT_TRUE(FlagNamesOf(*sound, 0).empty());

    const auto single = std::find_if(FlagKinds().begin(), FlagKinds().end(),
                                     [](const TFlagKind &kind) { return kind.SingleChoice; });
    ASSERT_NE(single, FlagKinds().end());
    EXPECT_EQ(FlagNamesOf(*single, 31), (std::vector<std::string>{SingleChoiceLabel(31)}));
    EXPECT_EQ(FlagNamesOf(*single, 3).size(), 1u);
    EXPECT_TRUE(FlagNamesOf(*single, 32).empty());

    const std::pair<const char *, uint32_t> numbers[] = {
        {"0x81", 0x81}, {"0X1f", 0x1F}, {"129", 129}, {"0xFFFFFFFF", 0xFFFFFFFF}};
    for (const auto &[text, expected] : numbers)
    {
        uint32_t value = 0;
        EXPECT_TRUE(ParseFlagNumber(text, value) && value == expected) << text;
    }
    for (const char *bad : {"", "0x", "-1", "1.5", "0x100000000", "abc", "12a"})
    {
        uint32_t value = 0;
        EXPECT_FALSE(ParseFlagNumber(bad, value)) << bad;
    }
}
