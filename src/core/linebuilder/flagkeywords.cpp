#include "core/linebuilder/flagkeywords.h"

const std::vector<TFlagKeyword> &FlagKeywords()
{
    static const std::vector<TFlagKeyword> keywords = {
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
    return keywords;
}

std::vector<const TFlagKeyword *> FlagKeywordsIn(std::string_view line)
{
    std::vector<const TFlagKeyword *> found;
    for (const TFlagKeyword &keyword : FlagKeywords())
        if (line.find(keyword.Keyword) != std::string_view::npos)
            found.push_back(&keyword);
    return found;
}

bool OpensFlagCalculator(std::string_view line)
{
    return line.find("flag*") != std::string_view::npos &&
           line.find("Get") == std::string_view::npos;
}
