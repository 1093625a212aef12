// File-system look-ups of the data-set browser, on UTF-8 paths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel::ui {

// dir joined with name by the platform's separator, never doubled.
std::string joinPath(const std::string& dir, const std::string& name);

bool isReadableDirectory(const std::string& path);

// Names of the regular files in dir that match pattern ("*.dsf"); the match
// ignores letter case. Sorted; empty when dir cannot be read.
std::vector<std::string> matchingFiles(const std::string& dir, std::string_view pattern);

// Names of the subdirectories of dir, sorted; empty when dir cannot be read.
std::vector<std::string> subdirectories(const std::string& dir);

std::string currentDirectory();

}  // namespace tarvel::ui
