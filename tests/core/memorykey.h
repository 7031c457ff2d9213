#pragma once

// Settings kept in memory for tests: what was written, in order, and what can be read back.

#include <map>
#include <string>
#include <vector>

#include "core/shell/settings.h"

class TMemoryKey : public TSettingsKey
{
  public:
    void WriteString(const std::string &name, const std::string &value) override
    {
        Values[name] = value;
        Writes.push_back(name);
    }
    bool ValueExists(const std::string &name) override { return Values.count(name) != 0; }
    std::string ReadString(const std::string &name) override { return Values[name]; }

    std::map<std::string, std::string> Values;
    std::vector<std::string> Writes;
};
