// Given points loaded the way the user loads them: a data-set file written
// into a directory of the test's own and clicked in the file list.
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
class ScratchDir {
public:
    ScratchDir()
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("tarvel-scratch-") + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string path() const { return path_.string(); }
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

// The text of a data set whose values read back to the same bits.
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

// Selects the data-set option, loads the points from a file in dir and
// presses OK, as the user does; fails the test if any step is refused.
inline void loadAndShow(ui::HeadlessWindow& w, const ScratchDir& dir, const std::vector<double>& xs,
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
