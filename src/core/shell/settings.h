#pragma once

// The program's stored settings: a handful of string values under one key. The store itself
// (the registry on Windows, a settings file elsewhere) is supplied by the caller.

#include <string>

#include "core/shell/folders.h"

// An open settings key. Failures (a store that cannot be written, a value of another type)
// are collected in Error, so that start-up can report them and go on.
class TSettingsKey
{
  public:
    virtual ~TSettingsKey() = default;
    virtual void WriteString(const std::string &name, const std::string &value) = 0;
    virtual bool ValueExists(const std::string &name) = 0;
    // The value as text; a value stored with another type is an error, read as empty.
    virtual std::string ReadString(const std::string &name) = 0;

    // Every failure since the key was opened, one per line.
    std::string Error;

  protected:
    void AddError(const std::string &text) { Error += (Error.empty() ? "" : "\n") + text; }
};

// The game whose resources the picker reads: "JK" or "MOTS".
inline constexpr const char *ResourcesValue = "Resources";

// What the program reads from its settings at start.
struct TStartupSettings
{
    std::string AppVersion;
    TGameFolders Game;
};

// Start-up: writes "QxVer" = QxVersion, then reads "QxVer", "Kovo", "JK" and "MOTS" into
// AppVersion, TemplateFile, JKDir and MotsDir where they exist, and UseJK from "Resources"
// (Jedi Knight unless it says "MOTS"). "PRJ" is not read back, so ProjectDir starts empty at
// every run.
TStartupSettings ReadStartupSettings(TSettingsKey &key);

// The Directories dialog's Save: writes "JK", "MOTS", "Kovo", "PRJ" and "Resources", in this
// order.
void SaveDirectorySettings(TSettingsKey &key, const TGameFolders &game);
