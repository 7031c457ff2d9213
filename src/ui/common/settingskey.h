#pragma once

// The settings key of the program: QSettings("Ostrel Forge", "Quillex") in the platform's
// native format (the registry key SOFTWARE\Ostrel Forge\Quillex on Windows, a .conf file
// elsewhere).

#include <memory>

#include "core/shell/settings.h"

class QSettings;
class TPrompts;

class TQxSettingsKey : public TSettingsKey
{
  public:
    TQxSettingsKey();
    ~TQxSettingsKey() override;

    void WriteString(const std::string &name, const std::string &value) override;
    bool ValueExists(const std::string &name) override;
    std::string ReadString(const std::string &name) override;
    // Writes pending values to the store; failures land in Error.
    void Flush();

  private:
    std::unique_ptr<QSettings> Settings;
};

// Opens (creating it when missing) the settings key; the caller closes it with
// CloseSettingsKey, which writes it out and reports failures through the prompts.
std::unique_ptr<TQxSettingsKey> OpenSettingsKey();
void CloseSettingsKey(std::unique_ptr<TQxSettingsKey> &key, TPrompts &prompts);

// The frame's start-up read of the settings, and the Directories dialog's Save; both report
// a failing store through the error box and go on.
TStartupSettings LoadSettingsAtStart(TPrompts &prompts);
void SaveSettings(TPrompts &prompts, const TGameFolders &game);
