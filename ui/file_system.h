// File-system look-ups of the data-set browser. Paths and names are the
// file system's own bytes (UTF-8 on Windows), kept as they are so that
// every name listed can be opened, whatever its encoding; printableText
// (data/printable_text.h) makes them fit to be shown.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
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

// Which entries of a folder a browser list shows. Hidden names (beginning
// with a period) never.
struct FolderQuery {
    enum class Kind {
        // Files that can be read as a stream (regular files and named
        // pipes) whose names match the pattern ("*.dsf"), ignoring case.
        MatchingFiles,
        Subdirectories,
    };
    std::string dir;
    Kind kind = Kind::MatchingFiles;
    std::string pattern = "*";
};

// Calls found(name) for each entry the query asks for, in sorted order, as
// soon as the kind of the entry is known; stops early once `cancelled` is
// set. Nothing is found when the folder cannot be read.
void listFolder(const FolderQuery& query, const std::atomic<bool>& cancelled,
                const std::function<void(std::string)>& found);

// listFolder's names all at once.
std::vector<std::string> matchingFiles(const std::string& dir, std::string_view pattern);
std::vector<std::string> subdirectories(const std::string& dir);

std::string currentDirectory();

}  // namespace tarvel::ui
