#include "ui/common/settingskey.h"

#include <QSettings>

#include "ui/common/prompts.h"

TQxSettingsKey::TQxSettingsKey()
    : Settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           "Ostrel Forge", "Quillex"))
{}

TQxSettingsKey::~TQxSettingsKey() = default;

void TQxSettingsKey::WriteString(const std::string &name, const std::string &value)
{
    // The value is kept for this run even when the store cannot take it.
    if (!Settings->isWritable())
        AddError("Cannot write the settings value \"" + name + "\"");
    Settings->setValue(QString::fromStdString(name), QString::fromStdString(value));
}

bool TQxSettingsKey::ValueExists(const std::string &name)
{
    return Settings->contains(QString::fromStdString(name));
}

std::string TQxSettingsKey::ReadString(const std::string &name)
{
    const QVariant value = Settings->value(QString::fromStdString(name));
    // Only plain strings are ours; a number or a list under one of our names is a damaged
    // store, reported and read as empty.
    if (value.typeId() != QMetaType::QString)
    {
        AddError("Invalid data type for '" + name + "'");
        return {};
    }
    return value.toString().toStdString();
}

void TQxSettingsKey::Flush()
{
    Settings->sync();
    if (Settings->status() == QSettings::AccessError)
        AddError("Failed to write the settings to " + Settings->fileName().toStdString());
    else if (Settings->status() == QSettings::FormatError)
        AddError("The settings file " + Settings->fileName().toStdString() + " is damaged");
}

std::unique_ptr<TQxSettingsKey> OpenSettingsKey()
{
    return std::make_unique<TQxSettingsKey>();
}

void CloseSettingsKey(std::unique_ptr<TQxSettingsKey> &key, TPrompts &prompts)
{
    if (!key)
        return;
    key->Flush();
    if (!key->Error.empty())
        prompts.ShowIOError(QString::fromStdString(key->Error));
    key.reset();
}

TStartupSettings LoadSettingsAtStart(TPrompts &prompts)
{
    auto key = OpenSettingsKey();
    TStartupSettings settings = ReadStartupSettings(*key);
    CloseSettingsKey(key, prompts);
    return settings;
}

void SaveSettings(TPrompts &prompts, const TGameFolders &game)
{
    auto key = OpenSettingsKey();
    SaveDirectorySettings(*key, game);
    CloseSettingsKey(key, prompts);
}
