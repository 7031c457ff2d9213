#pragma once

// The one-line report of an extraction: how many scripts went to which folder.

#include <string>
#include <vector>

// files: the paths written, in order. "3 scripts extracted to FOLDER" when they share one
// folder, "5 scripts extracted: 3 to A, 2 to B" otherwise (folders in the order first
// written, each ending with "/"); "No script extracted" for none.
std::string ExtractionReport(const std::vector<std::string> &files);
