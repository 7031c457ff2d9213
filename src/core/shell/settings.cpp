#include "core/shell/settings.h"

#include "core/shell/folders.h"

TStartupSettings ReadStartupSettings(TSettingsKey &key)
{
    key.WriteString("QxVer", QxVersion);
    TStartupSettings settings;
    const struct
    {
        const char *Name;
        std::string *Target;
    } values[] = {
        {"QxVer", &settings.AppVersion},
        {"Kovo", &settings.Game.TemplateFile},
        {"JK", &settings.Game.JKDir},
        {"MOTS", &settings.Game.MotsDir},
    };
    for (const auto &value : values)
        if (key.ValueExists(value.Name))
            *value.Target = key.ReadString(value.Name);
    settings.Game.UseJK =
        !key.ValueExists(ResourcesValue) || key.ReadString(ResourcesValue) != "MOTS";
    return settings;
}

void SaveDirectorySettings(TSettingsKey &key, const TGameFolders &game)
{
    key.WriteString("JK", game.JKDir);
    key.WriteString("MOTS", game.MotsDir);
    key.WriteString("Kovo", game.TemplateFile);
    key.WriteString("PRJ", game.ProjectDir);
    key.WriteString(ResourcesValue, game.UseJK ? "JK" : "MOTS");
}
