#include "core/linebuilder/flagcalc.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

bool Contains(std::string_view line, std::string_view text)
{
    return line.find(text) != std::string_view::npos;
}

// The names are the game's meaning of each position; the values are the ones the engine reads,
// which is why Damage is a bit mask and some names sit where the engine puts them.
std::vector<TFlagKind> MakeKinds()
{
    return {
        {"EditActor",
         "Actor Flags",
         false,
         false,
         {{2, "Field Light"},
          {3, "Invulnerable"},
          {5, "Explodes when killed"},
          {7, "Invisible"},
          {8, "Droid"},
          {10, "Cannot Hear"},
          {11, "Cannot See"},
          {13, "Is Blocking Attacks"},
          {18, "Partialy Imobilzed"},
          {19, "Cannot Shoot Underwater"},
          {21, "Totaly imobolized"},
          {23, "No display hud"}}},
        {"EditInv",
         "Inventory Flags",
         false,
         false,
         {{0, "Predetermined"},
          {1, "Item"},
          {2, "Weapon"},
          {3, "Force"},
          {4, "Armor"},
          {6, "Not in next level"},
          {7, "BackPack"},
          {8, "Hotkey"}}},
        {"EditMulti",
         "MultiPlayer flags",
         false,
         false,
         {{0, "Team Play"},
          {1, "No damage to teamates"},
          {2, "CTF computes own score"},
          {3, "Time limit"},
          {4, "Score limit"},
          {5, "No custom costumes"},
          {8, "Auto assign teams"}}},
        {"EditPlayer",
         "Player flags",
         true,
         false,
         {{1, "Weapon Supercharge"}, {2, "Shield Supercharge"}, {4, "Force Boost"}}},
        {"EditSector",
         "Sector flags",
         false,
         false,
         {{0, "NoGravity"},
          {1, "UnderWater"},
          {2, "Cog Linked"},
          {3, "Has Thrust"},
          {4, "Hide On automap"},
          {5, "No Actor Enter"},
          {6, "Pit"},
          {12, "Has Collide Box"},
          {13, "Been There"},
          {14, "Shown on map"}}},
        {"EditAdjoin",
         "Adjoin Flags",
         false,
         false,
         {{0, "Visible"},
          {1, "Allow ai/player"},
          {2, "Allow Sound"},
          {3, "Allow player"},
          {4, "Allow ai"}}},
        {"EditSurfaceType",
         "Surface Type",
         true,
         false,
         {{0, "Normal"}, {1, "2 Sided"}, {2, "Translucent"}}},
        {"EditSurface",
         "Surface flags",
         false,
         false,
         {{0, "Floor"},
          {1, "Linked Cog"},
          {2, "Impassable"},
          {3, "No ai on floor"},
          {4, "Double texture scale"},
          {5, "Half texture scale"},
          {6, "1/8 texture scale"},
          {7, "No Falling Damage"},
          {9, "Sky"},
          {10, "Sky2"},
          {11, "Scrolling"},
          {12, "Icy"},
          {13, "Very Icy"},
          {14, "Magsealed"},
          {16, "Metal floor"},
          {17, "Deep water"},
          {18, "Shallow water"},
          {19, "Dirt floor"},
          {20, "Very Deep water"}}},
        {"EditGeo",
         "Geo Mode",
         true,
         false,
         {{0, "No Draw surface"},
          {1, "Draw vertexs"},
          {2, "Draw wireframe"},
          {3, "Solid surface"},
          {4, "Draw Textured "},
          {5, "Full Draw "}}},
        {"EditLight",
         "Light Mode",
         true,
         false,
         {{0, "Fully Lit"},
          {1, "Not Lit"},
          {2, "Diffuse"},
          {3, "Gourand (normal light)"},
          {4, "Gourand "},
          {5, "Gourand "}}},
        // The engine reads the animation flags as bits: 0x1 loops, 0x2 skips the first frame
        // when looping, 0x4 the first two. Looping with a skip gives 0x3 or 0x5.
        {"EditSurfaceAnim",
         "Surface Anim ",
         false,
         false,
         {{0, "Looping"}, {1, "Skip first Frame"}, {2, "Skip first 2 frames"}}},
        {"EditJK",
         "Jk Flags",
         false,
         false,
         {{0, "Has Saber"},
          {2, "Turn On Saber"},
          {3, "Turn Off Saber"},
          {4, "Has Two Sabers"},
          {5, "Persuasion Twinkling"}}},
        {"EditAttach", "Attach Flags", false, false, {{3, "No Move relative to attach thing"}}},
        {"EditExplosion",
         "Explosion Flags",
         false,
         false,
         {{0, "Animated Sprite"},
          {1, "Explosion incl Blast Phase"},
          {2, "Damage In Blast Radius"},
          {3, "Child Explosions"},
          {4, "Variable Light"},
          {6, "No Damage Shooter"},
          {7, "Random Debris"},
          {8, "Flash Blind things"}}},
        {"EditItem",
         "Item Type",
         false,
         false,
         {{0, "Respawn MP"}, {1, "Respawn Single"}, {2, "BackPack"}, {3, "CTF Flag"}}},
        {"EditParticle",
         "Particle flags",
         false,
         false,
         {{0, "Outward expanding"},
          {1, "Animate cel"},
          {2, "Random start cel"},
          {3, "FadeOut"},
          {4, "Emit light"},
          {5, "Random cel changes"}}},
        {"EditPhysics",
         "Physics flags",
         false,
         false,
         {{0, "Has Gravity"},
          {4, "Align with surface"},
          {5, "Bounce off surface"},
          {6, "Sticks to Floor"},
          {7, "Sticks to Wall"},
          {9, "Uses Rotation veloclity"},
          {13, "Can Fly"},
          {16, "Crouching"},
          {18, "Partial Gravity"},
          {20, "On water surface"},
          {22, "No thrust effect"}}},
        {"EditThingType",
         "Thing type",
         true,
         false,
         {{1, "Camera"},
          {2, "Actor"},
          {3, "Weapon"},
          {4, "Debris"},
          {5, "Item"},
          {6, "Explosion"},
          {9, "Dead Player"},
          {10, "Player"}}},
        {"EditWeapon",
         "Weapon Flags",
         false,
         false,
         {{0, "No damage to shooter"},
          {2, "Explodes when world surface hit"},
          {3, "Explodes when thing hit"},
          {7, "Sticks to walls"},
          {10, "Reflects on Magsealed surf"},
          {11, "Sticks to things"},
          {12, "Close Proximity Trigger"},
          {13, "Instant impact weapon"},
          {15, "Object trail"},
          {22, "Explodes when world floor hit"}}},
        // Damage types are bits to the engine, so one hit can carry several.
        {"EditDamage",
         "Damage Type",
         false,
         false,
         {{0, "Impact"},
          {1, "Energy"},
          {2, "Fire"},
          {3, "Force"},
          {4, "Saber"},
          {5, "Drowing"},
          {6, "Fall"}}},
        {"EditCollide",
         "Collide Type",
         true,
         false,
         {{0, "NonTakeable"}, {1, "Takeable sphere"}, {3, "Takeable surface collide area"}}},
        {"EditThing",
         "Thing flags",
         false,
         false,
         {{0, "Emits Light"},
          {1, "Dead"},
          {2, "MagSealed"},
          {3, "Part of World Geo"},
          {4, "Invisible"},
          {6, "Can standon"},
          {10, "Used in Cog"},
          {11, "No Crush"},
          {12, "Not in Easy"},
          {13, "Not in Med"},
          {14, "Not in Hard"},
          {15, "Not in Multi"},
          {16, "Not in Single"}}},
        {"EditSurfaceTex",
         "Surface Texture Mode",
         true,
         false,
         {{0, "Affine"}, {1, "Normal Perspcetive"}, {2, "Perspective"}, {3, "Perspective"}}},
        {"EditSound",
         "Sound Flags",
         false,
         false,
         {{0, "Loops till stopped"},
          {2, "Ambient does not use panning"},
          {6, "Sound position is world coordinates"},
          {7, "Sound pos moves with thing"},
          {8, "Raise sound play priority"},
          {16, "Voice cannot be overridden by other sounds"}}},
        {"EditCog",
         "Cog Flags",
         false,
         true,
         {{6, "Local"}, {7, "Server"}, {8, "Global"}, {9, "NoSync"}}},
        {"EditMask",
         "Mask Flags",
         false,
         true,
         {{1, "Camera"},
          {2, "Actor"},
          {3, "Weapon"},
          {4, "Debris"},
          {5, "Item"},
          {6, "Explosion"},
          {9, "Dead Player"},
          {10, "Player"},
          {11, "Particle Cloud"}}},
    };
}

std::vector<TFlagKeyword> MakeKeywords()
{
    // Of two keywords that end at the same place in a line, the later one here decides.
    const std::pair<const char *, const char *> rows[] = {
        {"ActorFlag", "EditActor"},
        {"InvFlag", "EditInv"},
        {"MultiModeFlag", "EditMulti"},
        {"SuperFlag", "EditPlayer"},
        {"SectorFlag", "EditSector"},
        {"AdjoinFlag", "EditAdjoin"},
        {"FaceType", "EditSurfaceType"},
        {"SurfaceFlag", "EditSurface"},
        {"GeoMode", "EditGeo"},
        {"LightMode", "EditLight"},
        {"SurfaceAnim", "EditSurfaceAnim"},
        {"jkClearFlags", "EditJK"},
        {"jkSetFlags", "EditJK"},
        {"ThingToThingEx", "EditAttach"},
        {"ThingAttachFlag", "EditAttach"},
        {"ExplosionFlag", "EditExplosion"},
        {"ItemFlag", "EditItem"},
        {"ParticleFlag", "EditParticle"},
        {"PhysicsFlag", "EditPhysics"},
        {"TypeFlag", "EditThingType"},
        {"WeaponFlag", "EditWeapon"},
        {"DamageThing", "EditDamage"},
        {"CollideType", "EditCollide"},
        {"SetThing", "EditThing"},
        {"ClearThing", "EditThing"},
        {"TexMode", "EditSurfaceTex"},
        {"PlaySound", "EditSound"},
        {"flag=", "EditCog"},
        {"mask=", "EditMask"},
    };
    std::vector<TFlagKeyword> keywords;
    for (const auto &[keyword, method] : rows)
        keywords.push_back({keyword, FindFlagKind(method)});
    return keywords;
}

std::string HexLabel(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

} // namespace

const std::vector<TFlagKind> &FlagKinds()
{
    static const std::vector<TFlagKind> kinds = MakeKinds();
    return kinds;
}

const TFlagKind *FindFlagKind(std::string_view method)
{
    for (const TFlagKind &kind : FlagKinds())
        if (method == kind.Method)
            return &kind;
    return nullptr;
}

const std::vector<TFlagKeyword> &FlagKeywords()
{
    static const std::vector<TFlagKeyword> keywords = MakeKeywords();
    return keywords;
}

const TFlagKind *MatchFlagKind(std::string_view line)
{
    const TFlagKind *kind = nullptr;
    size_t latestEnd = 0;
    for (const TFlagKeyword &keyword : FlagKeywords())
    {
        const std::string_view text = keyword.Keyword;
        const size_t at = line.find(text);
        if (at == std::string_view::npos || at + text.size() < latestEnd)
            continue;
        kind = keyword.Kind;
        latestEnd = at + text.size();
    }
    return kind;
}

const TFlagKind *OpenedFlagKind(std::string_view line)
{
    if (!Contains(line, FlagPlaceholder) || Contains(line, "Get"))
        return nullptr;
    return MatchFlagKind(line);
}

std::string BitMaskLabel(int position)
{
    return HexLabel(1u << position, 8);
}

std::string SingleChoiceLabel(int position)
{
    return HexLabel(static_cast<unsigned>(position), 2);
}

std::string TrimHex(std::string_view digits)
{
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos)
        return "0x0";
    return "0x" + std::string(digits.substr(first));
}

std::string CompleteFlagLine(std::string_view line, std::string_view value, bool dropTail)
{
    const size_t at = line.find(FlagPlaceholder);
    if (at == std::string_view::npos)
        return std::string(line);
    std::string completed(line.substr(0, at));
    completed += value;
    if (!dropTail)
        completed += line.substr(at + FlagPlaceholder.size());
    return completed;
}

const char *FlagOutcomeMessage(TFlagOutcome outcome)
{
    switch (outcome)
    {
    case TFlagOutcome::NothingChosen:
        return "Choose a flag ";
    case TFlagOutcome::MoreThanOne:
        return "More than one bit selected Not Allowed - Redo";
    case TFlagOutcome::Written:
        break;
    }
    return "";
}

TFlagCalc::TFlagCalc()
{
    for (int i = 0; i < FlagBitCount; ++i)
        Labels[i] = "Bit" + std::to_string(i);
}

void TFlagCalc::ClearNames()
{
    for (int i = 0; i < FlagBitCount; ++i)
        Labels[i] = BitMaskLabel(i);
}

void TFlagCalc::ClearBits()
{
    for (int i = 0; i < FlagBitCount; ++i)
        Labels[i] = SingleChoiceLabel(i);
}

void TFlagCalc::SetName(int position, std::string_view name)
{
    if (position >= 0 && position < FlagBitCount)
        Labels[position] = name;
}

void TFlagCalc::Edit(const TFlagKind &kind)
{
    if (kind.SingleChoice)
        ClearBits();
    else
        ClearNames();
    // The kind whose labels are shown also decides how the ticks are read, so that a bit name
    // always writes its bit.
    SingleChoiceMode = kind.SingleChoice;
    DropTail = kind.DropTail;
    for (const TFlagName &name : kind.Names)
        SetName(name.Position, name.Name);
    Title = kind.Title;
}

bool TFlagCalc::SortFlag()
{
    if (!Contains(FlagLine, FlagPlaceholder) || Contains(FlagLine, "Get"))
        return false;
    SingleChoiceMode = false;
    DropTail = false;
    IsOpen = true;
    if (const TFlagKind *kind = MatchFlagKind(FlagLine))
        Edit(*kind);
    // Without a kind the value is a plain bit mask; labels left by another kind would name
    // bits this argument does not have, so the positions show their bit values.
    else
    {
        ClearNames();
        Title.clear();
    }
    return true;
}

bool TFlagCalc::Open(std::string_view line)
{
    // A line that opens nothing leaves an open calculator writing into the line it opened on.
    std::string previous = std::move(FlagLine);
    FlagLine = line;
    if (SortFlag())
        return true;
    FlagLine = std::move(previous);
    return false;
}

TFlagOutcome TFlagCalc::FlagOKClick()
{
    if (SingleChoiceMode)
    {
        if (GetBits() > 1)
            return TFlagOutcome::MoreThanOne;
    }
    else
        GetFlags();
    if (FlagValue.empty())
        return TFlagOutcome::NothingChosen;
    SingleChoiceMode = false;
    NewLine();
    IsOpen = false;
    FlagValue.clear();
    return TFlagOutcome::Written;
}

void TFlagCalc::GetFlags()
{
    std::uint32_t value = 0;
    bool any = false;
    for (int i = 0; i < FlagBitCount; ++i)
        if (Ticks[i])
        {
            Ticks[i] = false;
            value |= std::uint32_t{1} << i;
            any = true;
        }
    FlagValue = any ? TrimHex(HexLabel(value, 8).substr(2)) : std::string();
}

int TFlagCalc::GetBits()
{
    unsigned value = 0;
    int count = 0;
    for (int i = 0; i < FlagBitCount; ++i)
        if (Ticks[i])
        {
            Ticks[i] = false;
            value |= static_cast<unsigned>(i);
            ++count;
        }
    FlagValue = count == 1 ? TrimHex(HexLabel(value, 2).substr(2)) : std::string();
    return count;
}

void TFlagCalc::NewLine()
{
    FlagLine = CompleteFlagLine(FlagLine, FlagValue, DropTail);
    DropTail = false;
}

std::vector<std::string> FlagNamesOf(const TFlagKind &kind, uint32_t value)
{
    // The names the calculator shows for the kind, each on its tick box.
    TFlagCalc calc;
    calc.Edit(kind);
    std::vector<std::string> names;
    if (kind.SingleChoice)
    {
        if (value < FlagBitCount)
            names.push_back(calc.Labels[value]);
        return names;
    }
    for (int position = 0; position < FlagBitCount; ++position)
        if (value & (uint32_t(1) << position))
            names.push_back(calc.Labels[static_cast<size_t>(position)]);
    return names;
}

bool ParseFlagNumber(std::string_view text, uint32_t &value)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    {
        base = 16;
        text.remove_prefix(2);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}
