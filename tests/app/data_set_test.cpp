// The option handlers, the browser chain and loading a data-set file over
// the headless toolkit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/data_set_files.h"
#include "support/form_state.h"
#include "ui/file_system.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
using support::FormSnapshot;
using ui::HeadlessWindow;

using support::TempDir;

struct Visibility {
    bool poly, dataSet, nDeg;
};

TEST(OptionHandlers, EachOptionShowsOnlyItsFields)
{
    const std::pair<const char*, Visibility> steps[] = {
        {"Option_Polynom", {true, false, true}},     {"Option_Cos10Fu", {false, false, true}},
        {"Option_DataSet", {false, true, true}},     {"Option_SinFunc", {false, false, true}},
        {"Option_InterCubc", {false, false, false}}, {"Option_Polynom", {true, false, false}},
        {"Option_InterPwCb", {true, false, false}},  {"Option_DataSet", {false, true, false}},
        {"Option_DataSet", {false, true, false}},    {"Option_Tarvel", {false, true, true}},
        {"Option_Tarvel", {false, true, true}},
    };
    HeadlessWindow w;
    int step = 0;
    for (const auto& [option, expected] : steps) {
        w.select(option);
        EXPECT_EQ(w.Frame_Poly.visible, expected.poly) << "step " << step << " " << option;
        EXPECT_EQ(w.Frame_DataSet.visible, expected.dataSet) << "step " << step << " " << option;
        EXPECT_EQ(w.Frame_nDeg.visible, expected.nDeg) << "step " << step << " " << option;
        ++step;
    }
}

TEST(OptionHandlers, HiddenFieldsKeepTheirTextAndStateIsUntouched)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.setText("Text_nDeg", "3");
    w.setText("Text_a2", "-7");
    const FormSnapshot before = FormSnapshot::of(w);
    for (const char* option : {"Option_InterCubc", "Option_Polynom", "Option_DataSet",
                               "Option_SinFunc", "Option_Tarvel"})
        w.select(option);
    EXPECT_EQ(w.Text_nDeg.text(), "3");
    EXPECT_EQ(w.Text_a2.text(), "-7");
    support::expectUnchanged(before, FormSnapshot::of(w), "option clicks");
}

TEST(Browser, StartsInTheStartDirectoryAndListsOnlyDataSets)
{
    TempDir dir;
    dir.write("a.dsf", "0");
    dir.write("B.DSF", "0");
    dir.write("notes.txt", "0");
    dir.write("a.dsf.bak", "0");
    dir.mkdir("folder.dsf");
    HeadlessWindow w(dir.path());
    EXPECT_EQ(w.Dir1.path(), dir.path());
    EXPECT_EQ(w.File1.names, (std::vector<std::string>{"B.DSF", "a.dsf"}));
}

TEST(Browser, DirectoryChangeMovesTheFileList)
{
    TempDir dir;
    dir.mkdir("sub");
    dir.write("sub/inner.dsf", "0");
    dir.write("outer.dsf", "0");
    HeadlessWindow w(dir.path());
    w.openDirectory(ui::joinPath(dir.path(), "sub"));
    EXPECT_EQ(w.File1.path(), ui::joinPath(dir.path(), "sub"));
    EXPECT_EQ(w.File1.names, std::vector<std::string>{"inner.dsf"});
}

TEST(Browser, UnreadableDirectoryKeepsBothLists)
{
    TempDir dir;
    dir.write("kept.dsf", "0");
    HeadlessWindow w(dir.path());
    const std::string missing = ui::joinPath(dir.path(), "vanished");
    w.openDirectory(missing);
    EXPECT_EQ(w.Dir1.path(), dir.path());
    EXPECT_EQ(w.File1.names, std::vector<std::string>{"kept.dsf"});
    EXPECT_EQ(w.messages.messages,
              std::vector<std::string>{"The directory " + missing + " cannot be read."});
}

TEST(Browser, DriveChangeMovesBothLists)
{
    TempDir dir;
    dir.write("x.dsf", "0");
    HeadlessWindow w("/");
    w.Drive1.drives.push_back(dir.path());
    w.chooseDrive(dir.path());
    EXPECT_EQ(w.Dir1.path(), dir.path());
    EXPECT_EQ(w.File1.path(), dir.path());
    EXPECT_EQ(w.File1.names, std::vector<std::string>{"x.dsf"});
    EXPECT_TRUE(w.messages.messages.empty());
}

TEST(Browser, UnreadableDriveKeepsTheFormerDriveAndDirectory)
{
    TempDir dir;
    HeadlessWindow w(dir.path());
    const std::string missing = ui::joinPath(dir.path(), "no-such-volume");
    w.chooseDrive(missing);
    EXPECT_EQ(w.Drive1.drive(), "/");
    EXPECT_EQ(w.Dir1.path(), dir.path());
    EXPECT_EQ(w.File1.path(), dir.path());
    ASSERT_EQ(w.messages.messages.size(), 1u);
    EXPECT_EQ(w.messages.messages[0],
              "The drive " + missing + " cannot be read; the browser stays in " + dir.path() + ".");
}

TEST(FileLoad, LoadsThePointsAndHidesTheBrowser)
{
    TempDir dir;
    dir.write("Ölçüm verisi.dsf", "3\r\n0, 0, 1\r\n1, 0.5, 2\r\n2, 1, 0\r\n");
    HeadlessWindow w(dir.path());
    w.form.Command1_Click();
    w.select("Option_DataSet");
    const FormSnapshot before = FormSnapshot::of(w);
    w.clickFile("Ölçüm verisi.dsf");
    ASSERT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.form.nU, 3);
    EXPECT_EQ(w.form.lastU, 2);
    EXPECT_EQ(w.Text_nU.text(), "3");
    EXPECT_EQ(w.form.xU[1], 0.5);
    EXPECT_EQ(w.form.yU[1], 2.0);
    EXPECT_EQ(w.form.yU[2], 0.0);
    EXPECT_EQ(w.form.xU[3], before.xU[3]) << "entries beyond the count keep their values";
    EXPECT_FALSE(w.Frame_DataSet.visible);
    EXPECT_TRUE(w.form.dataReady) << "loading leaves dataReady as it was";
    EXPECT_EQ(w.List1.lines, before.lines) << "loading neither lists";
    EXPECT_EQ(w.Picture1.ops().size(), before.drawOps) << "nor draws";

    w.form.Command1_Click();
    EXPECT_EQ(w.List1.lines.size(), 6u);
    EXPECT_EQ(w.List1.lines[4], "1   0.5000   2.0000");
}

TEST(FileLoad, ZeroPointsLoadNothing)
{
    TempDir dir;
    dir.write("empty.dsf", "0");
    HeadlessWindow w(dir.path());
    w.select("Option_DataSet");
    w.clickFile("empty.dsf");
    EXPECT_EQ(w.form.nU, 0);
    EXPECT_EQ(w.form.lastU, -1);
    EXPECT_EQ(w.Text_nU.text(), "0");
    EXPECT_FALSE(w.Frame_DataSet.visible);
}

TEST(FileLoad, LoadingDoesNotMakeDataReady)
{
    TempDir dir;
    dir.write("two.dsf", "2\n0,0,0\n1,1,1\n");
    HeadlessWindow w(dir.path());
    w.select("Option_DataSet");
    w.clickFile("two.dsf");
    w.form.Command2_Click();
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Set the test function first !"});
}

TEST(FileLoad, FailuresKeepTheFormerPointsWhole)
{
    const std::pair<const char*, const char*> files[] = {
        {"short", "3\n0, 0, 1\n1, 0.5, 2\n"},
        {"too many", "1002\n0, 0, 1\n"},
        {"fractional count", "2.5\n0,0,0\n1,1,1\n2,2,2\n"},
        {"negative count", "-1\n"},
        {"infinite y", "2\n0,0,0\n1,1,1e400\n"},
        {"text x", "2\n0,0,0\n1,abc,1\n"},
        {"empty", ""},
    };
    for (const auto& [name, text] : files) {
        TempDir dir;
        dir.write("bad.dsf", text);
        HeadlessWindow w(dir.path());
        w.form.Command1_Click();
        w.select("Option_DataSet");
        const FormSnapshot before = FormSnapshot::of(w);
        w.clickFile("bad.dsf");
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Hata oluştu"}) << name;
        support::expectUnchanged(before, FormSnapshot::of(w), name);
        EXPECT_TRUE(w.Frame_DataSet.visible) << name;
    }
}

TEST(FileLoad, MissingFileAndDirectoryAreRefused)
{
    TempDir dir;
    dir.mkdir("folder.dsf");
    HeadlessWindow w(dir.path());
    w.select("Option_DataSet");
    const FormSnapshot before = FormSnapshot::of(w);
    for (const char* name : {"gone.dsf", "folder.dsf", ""}) {
        w.messages.messages.clear();
        w.clickFile(name);
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Hata oluştu"}) << name;
        support::expectUnchanged(before, FormSnapshot::of(w), name);
    }
}

TEST(FileLoad, ExamplesLoadAndInterpolate)
{
    HeadlessWindow w(TARVEL_EXAMPLES_DIR);
    ASSERT_FALSE(w.File1.names.empty());
    for (const std::string& name : std::vector<std::string>(w.File1.names)) {
        SCOPED_TRACE(name);
        w.select("Option_DataSet");
        w.clickFile(name);
        ASSERT_TRUE(w.messages.messages.empty());
        w.form.Command1_Click();
        for (const char* method : {"Option_InterCubc", "Option_InterPwCb", "Option_Tarvel"}) {
            w.select(method);
            w.form.Command2_Click();
            EXPECT_TRUE(w.messages.messages.empty()) << method;
        }
    }
}

}  // namespace
}  // namespace tarvel
