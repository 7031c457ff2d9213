#pragma once

// The subcommands of qxtool. Each takes the arguments after its own name, prints its results
// and messages, and returns the process exit status.

#include <string>
#include <vector>

int RunCheck(const std::vector<std::string> &args);
int RunGob(const std::vector<std::string> &args);
int RunMat2Bmp(const std::vector<std::string> &args);
int RunTpl(const std::vector<std::string> &args);
int RunFlags(const std::vector<std::string> &args);
int RunVerbQx(const std::vector<std::string> &args);
int RunSyntax(const std::vector<std::string> &args);
int RunSortSymbols(const std::vector<std::string> &args);
int RunLsp(const std::vector<std::string> &args);
