#include "ui/file_system.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace tarvel::ui {
namespace fs = std::filesystem;

namespace {

fs::path fromUtf8(const std::string& text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string toUtf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

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

template <typename Keep> std::vector<std::string> entries(const std::string& dir, Keep keep)
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(fromUtf8(dir), fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = toUtf8(it->path().filename());
        if (keep(*it, name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::string joinPath(const std::string& dir, const std::string& name)
{
    return toUtf8(fromUtf8(dir) / fromUtf8(name));
}

bool isReadableDirectory(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !fs::is_directory(fromUtf8(path), error))
        return false;
    fs::directory_iterator it(fromUtf8(path), error);
    return !error;
}

std::vector<std::string> matchingFiles(const std::string& dir, std::string_view pattern)
{
    return entries(dir, [pattern](const fs::directory_entry& entry, const std::string& name) {
        std::error_code error;
        return entry.is_regular_file(error) && matches(name, pattern);
    });
}

std::vector<std::string> subdirectories(const std::string& dir)
{
    return entries(dir, [](const fs::directory_entry& entry, const std::string&) {
        std::error_code error;
        return entry.is_directory(error);
    });
}

std::string currentDirectory()
{
    std::error_code error;
    const fs::path here = fs::current_path(error);
    return error ? std::string() : toUtf8(here);
}

}  // namespace tarvel::ui
