// The option handlers, the browser chain and loading a data-set file over
// the headless toolkit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "support/data_set_files.h"
#include "support/form_state.h"
#include "ui/file_system.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
using support::FormSnapshot;
using ui::HeadlessWindow;

using support::TempDir;

// A data set of count points on evenly spaced abscissae.
std::string evenFile(int count)
{
    std::string text = std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + "," + std::to_string(i) + "e-3," + std::to_string(i) + "\n";
    return text;
}

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

// Everything a failed load must leave as it was, besides the snapshot.
void expectOriginUnchanged(const Form_Tarvel::GivenPointsOrigin& before,
                           const Form_Tarvel::GivenPointsOrigin& after, const std::string& what)
{
    EXPECT_EQ(before.existingPoints, after.existingPoints) << what;
    EXPECT_EQ(before.fileLoaded, after.fileLoaded) << what;
    EXPECT_EQ(before.dataSetName, after.dataSetName) << what;
}

const std::string kKept = " The former given points are kept.";

TEST(FileLoad, FailedLoadSaysWhereAndWhyOnTheStatusLine)
{
    const struct {
        const char* name;
        std::string text;
        std::string sentence;
    } rows[] = {
        {"not a number", "4\n0,0,1\n1,0.25,2\nstep,abc,3\n3,1,0\n",
         "bad.dsf, line 4: 'abc' is not a number (the x of point 2)." + kKept},
        {"1002 records", "1002\n0,0,1\n",
         "bad.dsf, line 1: '1002' is not a whole number of points from 0 to 1001." + kKept},
        {"count with a word", "3 points\n0,0,1\n",
         "bad.dsf, line 1: '3 points' is not a whole number of points from 0 to 1001." + kKept},
        {"truncated record", "2\n0,0,1\n1,0.5\n",
         "bad.dsf, line 3: the file ends inside point 1, which lacks its y." + kKept},
        {"fewer records", "3\n0,0,1\n",
         "bad.dsf, line 2: the file holds 1 point but announces 3." + kKept},
        {"quote not closed", "1\n\"P1,0,1\n",
         "bad.dsf, line 2: the quote that opens the label of point 0 is never closed." + kKept},
        {"semicolons", "2\n0;0;1\n1;1;0\n",
         "bad.dsf, line 3: '1;1;0' is not a number (the x of point 0); items are separated by "
         "commas or line ends." +
             kKept},
        {"empty", "", "bad.dsf: the file is empty." + kKept},
    };
    for (const auto& row : rows) {
        TempDir dir;
        dir.write("bad.dsf", row.text);
        HeadlessWindow w(dir.path());
        w.form.Command1_Click();
        w.select("Option_DataSet");
        const FormSnapshot before = FormSnapshot::of(w);
        const auto origin = w.form.givenPointsOrigin();
        w.clickFile("bad.dsf");
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Hata oluştu"}) << row.name;
        EXPECT_EQ(w.messages.informativeTexts, std::vector<std::string>{row.sentence})
            << row.name << ": the box carries the reason";
        EXPECT_EQ(w.statusLine.current(), row.sentence) << row.name;
        support::expectUnchanged(before, FormSnapshot::of(w), row.name);
        expectOriginUnchanged(origin, w.form.givenPointsOrigin(), row.name);
    }
}

TEST(FileLoad, SuccessfulLoadSaysWhatWasLoaded)
{
    const struct {
        const char* name;
        std::string text;
        std::string sentence;
        int count;
    } rows[] = {
        {"three points", "3\n0,0,1\n1,0.5,2\n2,1,0\n",
         "Loaded set.dsf: 3 points. Press OK to list and draw them.", 3},
        {"one point", "1\n0,0.5,2\n", "Loaded set.dsf: 1 point. Press OK to list and draw them.",
         1},
        {"no point", "0\n", "Loaded set.dsf: 0 points.", 0},
        {"items left over", "1\n0,0.5,2\n1,1,1\n",
         "Loaded set.dsf: 1 point. Press OK to list and draw them. Items after the last record "
         "were ignored.",
         1},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "2\r\n0,0,1\r\n1,1,0\r\n",
         "Loaded set.dsf: 2 points. Press OK to list and draw them.", 2},
        {"x in no order", "3\n0,0,1\n1,1,0\n2,0.5,2\n",
         "Loaded set.dsf: 3 points. Press OK to list and draw them. Their x are in no order, so "
         "Calculate will refuse them: The given points must be in increasing or decreasing order "
         "of x; given point 2 (x = 0.5) is out of order after given point 1 (x = 1).",
         3},
        {"x decreasing", "2\n0,1,1\n1,0,0\n",
         "Loaded set.dsf: 2 points. Press OK to list and draw them.", 2},
    };
    for (const auto& row : rows) {
        TempDir dir;
        dir.write("set.dsf", row.text);
        HeadlessWindow w(dir.path());
        w.select("Option_DataSet");
        w.clickFile("set.dsf");
        EXPECT_TRUE(w.messages.messages.empty()) << row.name;
        EXPECT_EQ(w.statusLine.current(), row.sentence) << row.name;
        EXPECT_EQ(w.form.nU, row.count) << row.name;
        const auto origin = w.form.givenPointsOrigin();
        EXPECT_EQ(origin.existingPoints, row.count) << row.name;
        EXPECT_TRUE(origin.fileLoaded) << row.name;
        EXPECT_EQ(origin.dataSetName, "set.dsf") << row.name;
    }
}

TEST(FileLoad, ByteOrderMarkBeforeTheCountLoadsTheSamePoints)
{
    TempDir dir;
    dir.write("plain.dsf", "2\n0,0.25,1\n1,0.75,-1\n");
    dir.write("marked.dsf", "\xEF\xBB\xBF"
                            "2\n0,0.25,1\n1,0.75,-1\n");
    HeadlessWindow w(dir.path());
    w.select("Option_DataSet");
    w.clickFile("plain.dsf");
    const PointArray x = w.form.xU, y = w.form.yU;
    w.form.xU.fill(9);
    w.clickFile("marked.dsf");
    ASSERT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.form.nU, 2);
    EXPECT_EQ(w.form.xU[0], x[0]);
    EXPECT_EQ(w.form.xU[1], x[1]);
    EXPECT_EQ(w.form.yU[1], y[1]);
}

TEST(FileLoad, VanishedFileLeavesTheListAfterTheFailedClick)
{
    TempDir dir;
    dir.write("gone.dsf", "1\n0,0,0\n");
    dir.write("kept.dsf", "1\n0,0,0\n");
    HeadlessWindow w(dir.path());
    w.select("Option_DataSet");
    ASSERT_EQ(w.File1.names, (std::vector<std::string>{"gone.dsf", "kept.dsf"}));
    dir.remove("gone.dsf");
    dir.write("new.dsf", "1\n0,0,0\n");
    w.clickFile("gone.dsf");
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Hata oluştu"});
    EXPECT_EQ(w.statusLine.current(), "gone.dsf: the file no longer exists.")
        << "no given points exist, so none are said to be kept";
    EXPECT_EQ(w.File1.names, (std::vector<std::string>{"kept.dsf", "new.dsf"}));
    EXPECT_TRUE(w.Frame_DataSet.visible);
}

// Names that are not UTF-8 are listed with their own bytes, so a click opens
// exactly the file that was listed; the status line shows them readably.
TEST(Browser, NamesInAnyEncodingAreListedAndLoad)
{
    const struct {
        const char* name;
        std::string file;
        std::string shown;
    } rows[] = {
        {"invalid bytes", "bad-\xFF\xFE.dsf", "bad-\xEF\xBF\xBD\xEF\xBF\xBD.dsf"},
        {"latin-1", "M\xFCller.dsf", "M\xEF\xBF\xBDller.dsf"},
        {"line feed", "new\nline.dsf", "new\xE2\x9F\xA8U+000A\xE2\x9F\xA9line.dsf"},
        {"utf-8", "\xC3\x96l\xC3\xA7\xC3\xBCm.dsf", "\xC3\x96l\xC3\xA7\xC3\xBCm.dsf"},
        // Shown, not obeyed: the override would turn the sentence around.
        {"right-to-left override", "evil\xE2\x80\xAE" "fsd.dsf",
         "evil\xE2\x9F\xA8U+202E\xE2\x9F\xA9" "fsd.dsf"},
        {"hebrew, set apart", "\xD7\xA9\xD7\x9C.dsf",
         "\xE2\x81\xA8\xD7\xA9\xD7\x9C.dsf\xE2\x81\xA9"},
    };
    TempDir dir;
    int count = 2;
    for (const auto& row : rows)
        dir.write(row.file, evenFile(count++));
    HeadlessWindow w(dir.path());
    w.select("Option_DataSet");
    ASSERT_EQ(w.File1.names.size(), std::size(rows));
    count = 2;
    for (const auto& row : rows) {
        EXPECT_NE(std::find(w.File1.names.begin(), w.File1.names.end(), row.file),
                  w.File1.names.end())
            << row.name;
        w.select("Option_DataSet");
        w.clickFile(row.file);
        EXPECT_TRUE(w.messages.messages.empty()) << row.name;
        EXPECT_EQ(w.form.nU, count) << row.name;
        EXPECT_EQ(w.statusLine.current(), "Loaded " + row.shown + ": " + std::to_string(count) +
                                              " points. Press OK to list and draw them.")
            << row.name;
        EXPECT_EQ(w.form.givenPointsOrigin().dataSetName, row.shown) << row.name;
        ++count;
    }
}

TEST(Browser, DirectoriesInAnyEncodingOpen)
{
    TempDir dir;
    const std::string latin1 = "d\xE9j\xE0";
    dir.mkdir(latin1);
    dir.write(latin1 + "/inner.dsf", "1\n0,0.5,7\n");
    HeadlessWindow w(dir.path());
    EXPECT_EQ(ui::subdirectories(dir.path()), std::vector<std::string>{latin1});
    w.openDirectory(ui::joinPath(dir.path(), latin1));
    ASSERT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.File1.names, std::vector<std::string>{"inner.dsf"});
    w.clickFile("inner.dsf");
    EXPECT_EQ(w.form.yU[0], 7);
}

TEST(Browser, DirectoryPathsAreWrittenPlainly)
{
    const std::pair<std::string, std::string> absolute[] = {
        {"/a/b/", "/a/b"}, {"/a/./b/../c", "/a/c"}, {"/", "/"}, {"/a\xFF/", "/a\xFF"}};
    for (const auto& [path, plain] : absolute)
        EXPECT_EQ(ui::absoluteDirectory(path), plain) << path;
    const std::pair<std::string, std::string> parents[] = {
        {"/a/b", "/a"}, {"/a", "/"}, {"/", ""}, {"/a\xFF/b\xFE", "/a\xFF"}};
    for (const auto& [path, parent] : parents)
        EXPECT_EQ(ui::parentDirectory(path), parent) << path;
}

TEST(Browser, HiddenNamesAreNotListed)
{
    TempDir dir;
    dir.write(".hidden.dsf", "0");
    dir.write("shown.dsf", "0");
    dir.mkdir(".git");
    dir.mkdir("data");
    HeadlessWindow w(dir.path());
    EXPECT_EQ(w.File1.names, std::vector<std::string>{"shown.dsf"});
    EXPECT_EQ(ui::subdirectories(dir.path()), std::vector<std::string>{"data"});
}

// While a file is being read nothing may run between the click and the
// load's end: OK, Calculate and another file are refused, changing nothing.
TEST(HeldRead, CommandsWaitForTheLoadToEnd)
{
    TempDir dir;
    dir.write("slow.dsf", "2\n0,0,5\n1,1,6\n");
    dir.write("other.dsf", "1\n0,0,0\n");
    HeadlessWindow w(dir.path());
    w.form.Command1_Click();
    w.select("Option_DataSet");
    w.fileReader.holdReads = true;
    const FormSnapshot before = FormSnapshot::of(w);
    w.clickFile("slow.dsf");
    ASSERT_TRUE(w.fileReader.busy());
    support::expectUnchanged(before, FormSnapshot::of(w), "read held");

    const std::string kBusy =
        "A data-set file is being read. Wait until it is loaded, or cancel the reading.";
    const std::pair<const char*, std::function<void()>> attempts[] = {
        {"OK", [&] { w.form.Command1_Click(); }},
        {"Calculate", [&] { w.form.Command2_Click(); }},
        {"another file", [&] { w.clickFile("other.dsf"); }},
    };
    for (const auto& [what, attempt] : attempts) {
        w.messages.messages.clear();
        attempt();
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{kBusy}) << what;
        support::expectUnchanged(before, FormSnapshot::of(w), what);
    }
    EXPECT_EQ(w.File1.selected, "slow.dsf") << "the file being read stays selected";
    w.messages.messages.clear();
    w.clickFile("slow.dsf");
    EXPECT_TRUE(w.messages.messages.empty()) << "a second click on the same file asks nothing new";
    EXPECT_EQ(w.fileReader.started.size(), 1u);

    ASSERT_TRUE(w.fileReader.completeHeldRead());
    EXPECT_FALSE(w.fileReader.busy());
    EXPECT_EQ(w.form.nU, 2);
    EXPECT_EQ(w.form.yU[1], 6);
    w.form.Command1_Click();
    EXPECT_TRUE(w.messages.messages.empty()) << "OK runs again once the load has ended";
}

// Cancel is the user's own choice: no error box, and the status line
// speaks of former points only when there are some.
TEST(HeldRead, CancelledLoadKeepsEverythingWithoutAnError)
{
    TempDir dir;
    dir.write("slow.dsf", "2\n0,0,5\n1,1,6\n");
    for (const bool pointsBefore : {false, true}) {
        HeadlessWindow w(dir.path());
        if (pointsBefore)
            w.form.Command1_Click();
        w.select("Option_DataSet");
        w.fileReader.holdReads = true;
        const FormSnapshot before = FormSnapshot::of(w);
        const auto origin = w.form.givenPointsOrigin();
        w.clickFile("slow.dsf");
        EXPECT_EQ(w.File1.reading, ui::joinPath(dir.path(), "slow.dsf"));
        ASSERT_TRUE(w.fileReader.cancelHeldRead());
        EXPECT_TRUE(w.messages.messages.empty()) << pointsBefore;
        EXPECT_EQ(w.statusLine.current(), "Reading slow.dsf was cancelled; nothing changed." +
                                              (pointsBefore ? kKept : std::string()));
        support::expectUnchanged(before, FormSnapshot::of(w), "cancelled");
        expectOriginUnchanged(origin, w.form.givenPointsOrigin(), "cancelled");
        EXPECT_FALSE(w.fileReader.busy());
        EXPECT_EQ(w.File1.reading, "") << "the mark leaves with the read";
    }
}

// The points are stored only from a file read whole: a file cut short
// while it was being read fails as a whole.
TEST(HeldRead, FileThatFailsHalfWayKeepsEverything)
{
    TempDir dir;
    dir.write("growing.dsf", "3\n0,0,1\n1,0.5,2\n2,1,0\n");
    HeadlessWindow w(dir.path());
    w.form.Command1_Click();
    w.select("Option_DataSet");
    w.fileReader.holdReads = true;
    const FormSnapshot before = FormSnapshot::of(w);
    w.clickFile("growing.dsf");
    dir.write("growing.dsf", "3\n0,0,1\n1,0.5,2\n");
    ASSERT_TRUE(w.fileReader.completeHeldRead());
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Hata oluştu"});
    EXPECT_EQ(w.statusLine.current(),
              "growing.dsf, line 3: the file holds 2 points but announces 3." + kKept);
    support::expectUnchanged(before, FormSnapshot::of(w), "cut short");
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
