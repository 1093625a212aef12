#include "ui/file_system.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace tarvel::ui {
namespace fs = std::filesystem;

fs::path nativePath(const std::string& path)
{
#ifdef _WIN32
    return fs::path(std::u8string(path.begin(), path.end()));
#else
    return fs::path(path);
#endif
}

std::string pathBytes(const fs::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.native();
#endif
}

namespace {

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Wildcard match with '*' and '?', ignoring ASCII letter case.
bool matches(std::string_view name, std::string_view pattern)
{
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool wanted(const FolderQuery& query, const fs::directory_entry& entry, const std::string& name)
{
    // The kind comes with the name from the folder itself where the system
    // gives it; only links and unknown kinds cost a look-up of their own.
    std::error_code error;
    if (query.kind == FolderQuery::Kind::Subdirectories)
        return entry.is_directory(error);
    return matches(name, query.pattern) && (entry.is_regular_file(error) || entry.is_fifo(error));
}

std::vector<std::string> allFound(const FolderQuery& query)
{
    std::vector<std::string> names;
    const std::atomic<bool> never(false);
    listFolder(query, never, [&names](std::string name) { names.push_back(std::move(name)); });
    return names;
}

}  // namespace

std::string joinPath(const std::string& dir, const std::string& name)
{
    return pathBytes(nativePath(dir) / nativePath(name));
}

bool isReadableDirectory(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !fs::is_directory(nativePath(path), error))
        return false;
    fs::directory_iterator it(nativePath(path), error);
    return !error;
}

std::string absoluteDirectory(const std::string& path)
{
    std::error_code error;
    fs::path absolute = fs::absolute(nativePath(path), error).lexically_normal();
    if (absolute.has_relative_path() && !absolute.has_filename())
        absolute = absolute.parent_path();  // "/a/b/" -> "/a/b"
    return pathBytes(absolute.make_preferred());
}

std::string parentDirectory(const std::string& path)
{
    const fs::path here = nativePath(absoluteDirectory(path));
    return here.has_relative_path() ? pathBytes(here.parent_path()) : std::string();
}

// The names are all read and sorted first, which takes one pass over the
// folder; the look-ups of the kinds, which can take as long again for each
// entry, then go in the order the list shows.
void listFolder(const FolderQuery& query, const std::atomic<bool>& cancelled,
                const std::function<void(std::string)>& found)
{
    std::vector<std::pair<std::string, fs::directory_entry>> entries;
    std::error_code error;
    fs::directory_iterator it(nativePath(query.dir), fs::directory_options::skip_permission_denied,
                              error);
    for (; !error && it != fs::directory_iterator() && !cancelled.load(); it.increment(error)) {
        std::string name = pathBytes(it->path().filename());
        if (!name.starts_with('.'))
            entries.emplace_back(std::move(name), *it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [name, entry] : entries) {
        if (cancelled.load())
            return;
        if (wanted(query, entry, name))
            found(std::move(name));
    }
}

std::vector<std::string> matchingFiles(const std::string& dir, std::string_view pattern)
{
    return allFound({dir, FolderQuery::Kind::MatchingFiles, std::string(pattern)});
}

std::vector<std::string> subdirectories(const std::string& dir)
{
    return allFound({dir, FolderQuery::Kind::Subdirectories});
}

std::string currentDirectory()
{
    std::error_code error;
    const fs::path here = fs::current_path(error);
    return error ? std::string() : pathBytes(here);
}

}  // namespace tarvel::ui
