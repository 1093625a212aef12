// Data-set files written for a test into a directory of its own, and a
// window that loads them the way the user does.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/headless/headless_toolkit.h"

namespace tarvel::support {

// A directory of its own for each test, removed at the end.
class TempDir {
public:
    TempDir()
    {
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ =
            fs::temp_directory_path() /
            ("tarvel-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path() const { return path_.string(); }
    void write(const std::string& name, const std::string& text) const
    {
        // The name's bytes as they are: tests also write names that are not
        // valid UTF-8.
        std::ofstream(path_ / std::filesystem::path(name), std::ios::binary) << text;
    }
    void mkdir(const std::string& name) const { std::filesystem::create_directories(path_ / name); }
    void remove(const std::string& name) const
    {
        std::filesystem::remove(path_ / std::filesystem::path(name));
    }

private:
    std::filesystem::path path_;
};

// The text of a data-set file holding the points, every value written so
// that it reads back to the same double.
inline std::string dataSetText(const std::vector<double>& xs, const std::vector<double>& ys)
{
    std::string text = std::to_string(xs.size()) + "\n";
    for (std::size_t i = 0; i < xs.size(); ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "%zu, %.17g, %.17g\n", i, xs[i], ys[i]);
        text += line;
    }
    return text;
}

// Writes the points as a file in the directory the window's browser shows,
// selects the data-set option and clicks the file.
inline void loadPoints(ui::HeadlessWindow& w, const std::vector<double>& xs,
                       const std::vector<double>& ys, const std::string& name = "points.dsf")
{
    std::ofstream(std::filesystem::path(w.File1.path()) / name, std::ios::binary)
        << dataSetText(xs, ys);
    w.select("Option_DataSet");
    w.clickFile(name);
}

// Selects the data-set option, loads the points from a file in dir and
// presses OK, as the user does; fails the test if any step is refused.
inline void loadAndShow(ui::HeadlessWindow& w, const TempDir& dir, const std::vector<double>& xs,
                        const std::vector<double>& ys)
{
    w.select("Option_DataSet");
    dir.write("points.dsf", dataSetText(xs, ys));
    w.openDirectory(dir.path());
    w.clickFile("points.dsf");
    w.form.Command1_Click();
    ASSERT_TRUE(w.messages.messages.empty()) << w.messages.messages.front();
}

}  // namespace tarvel::support
