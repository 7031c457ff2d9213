#include "core/shell/settings.h"

#include "core/shell/GlobalVar.h"

void ReadStartupSettings(TSettingsKey &key)
{
    key.WriteString("QxVer", QxVersion);
    const struct
    {
        const char *Name;
        std::string *Target;
    } values[] = {
        {"QxVer", &AppVersion},
        {"Kovo", &TemplateFile},
        {"JK", &JKDir},
        {"MOTS", &MotsDir},
    };
    for (const auto &value : values)
        if (key.ValueExists(value.Name))
            *value.Target = key.ReadString(value.Name);
    UseJK = !key.ValueExists(ResourcesValue) || key.ReadString(ResourcesValue) != "MOTS";
}

void SaveDirectorySettings(TSettingsKey &key)
{
    key.WriteString("JK", JKDir);
    key.WriteString("MOTS", MotsDir);
    key.WriteString("Kovo", TemplateFile);
    key.WriteString("PRJ", ProjectDir);
    key.WriteString(ResourcesValue, UseJK ? "JK" : "MOTS");
}
