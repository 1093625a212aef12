// File-system look-ups of the data-set browser. Paths and names are the
// file system's own bytes (UTF-8 on Windows), kept as they are so that
// every name listed can be opened, whatever its encoding; printableText
// (data/printable_text.h) makes them fit to be shown.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::ui {

std::filesystem::path nativePath(const std::string& path);
std::string pathBytes(const std::filesystem::path& path);

// dir joined with name by the platform's separator, never doubled.
std::string joinPath(const std::string& dir, const std::string& name);

bool isReadableDirectory(const std::string& path);

// The absolute form of path without "." or ".." steps or a trailing
// separator; its parent directory, empty at a root.
std::string absoluteDirectory(const std::string& path);
std::string parentDirectory(const std::string& path);

// Names of the files in dir that can be read as a stream (regular files and
// named pipes) and match pattern ("*.dsf"); the match ignores letter case.
// Hidden names (beginning with a period) are left out. Sorted; empty when
// dir cannot be read.
std::vector<std::string> matchingFiles(const std::string& dir, std::string_view pattern);

// Names of the subdirectories of dir that are not hidden, sorted; empty
// when dir cannot be read.
std::vector<std::string> subdirectories(const std::string& dir);

std::string currentDirectory();

}  // namespace tarvel::ui
