// The OK command, the test functions and the browser against faults that
// slipped past their other tests: each test is named after the fault it pins.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/data_set_files.h"
#include "support/exact_bits.h"
#include "support/form_state.h"
#include "ui/file_system.h"

namespace tarvel {
namespace {

using support::FormSnapshot;
using ui::HeadlessWindow;

// Pins: the overflow check of the test-polynomial coefficients summing
// a0..a(n-1) and leaving out a_n. Only a0 and a_n are large, so the sum
// overflows only with a_n in it.
TEST(OkFaults, CoefficientOverflowCheckLeavesOutTheLastCoefficient)
{
    for (int degree = 1; degree <= 4; ++degree) {
        HeadlessWindow w;
        w.select("Option_Polynom");
        w.setText("Text_nPoly", std::to_string(degree));
        w.setText("Text_a0", "1e308");
        w.setText("Text_a" + std::to_string(degree), "1e308");
        const FormSnapshot before = FormSnapshot::of(w);
        w.form.Command1_Click();
        EXPECT_EQ(w.messages.messages,
                  std::vector<std::string>{"The coefficients of the test polynomial are too "
                                           "large: their sum overflows a number."})
            << "degree " << degree;
        support::expectUnchanged(before, FormSnapshot::of(w), "degree " + std::to_string(degree));
    }
}

// Pins: the test polynomial evaluated by Horner's rule instead of term by
// term, a0 + a1 x + a2 x^2 + ... with real powers. Golden ordinates of the
// sampled points where the two orders differ (degree 4, 17 points).
TEST(OkFaults, TestPolynomialByHornersRule)
{
    HeadlessWindow w;
    w.select("Option_Polynom");
    w.setText("Text_nPoly", "4");
    const char* coefs[] = {"0.3", "-1.7", "2.9", "-0.61", "1.13"};
    for (int k = 0; k < 5; ++k)
        w.setText("Text_a" + std::to_string(k), coefs[k]);
    w.setText("Text_nU", "17");
    w.form.Command1_Click();
    ASSERT_TRUE(w.messages.messages.empty());
    struct Point {
        std::size_t index;
        double y;
    };
    const Point golden[] = {
        {0, 0x1.eb851eb851eb8p-5},  {1, 0x1.4fc8c49ba5e34p-5},  {3, 0x1.080a5e353f7cfp-6},
        {4, 0x1.4f1a9fbe76c8bp-7},  {7, 0x1.4d128f5c28f59p-6},  {8, 0x1.15810624dd2fp-5},
        {9, 0x1.b3a1db22d0e56p-5},  {11, 0x1.c79f439581063p-4}, {12, 0x1.35d70a3d70a3dp-3},
        {13, 0x1.98f99db22d0e5p-3}, {14, 0x1.077c083126e96p-2}, {15, 0x1.4cdf3d70a3d7p-2},
        {16, 0x1.9db22d0e56042p-2},
    };
    for (const Point& p : golden)
        EXPECT_TRUE(support::sameBitsAs(w.form.yU[p.index], p.y)) << "yU(" << p.index << ")";
}

// Pins: a changed name of the entry in the message for a number too large
// to hold, for every entry OK reads.
TEST(OkFaults, TooLargeNumberMessageNamesTheWrongEntry)
{
    struct Row {
        const char* box;
        const char* what;
    };
    const Row rows[] = {
        {"Text_nU", "number of given points"},
        {"Text_nPoly", "degree nPoly"},
        {"Text_a0", "coefficient a0"},
        {"Text_a4", "coefficient a4"},
    };
    for (const Row& row : rows) {
        HeadlessWindow w;
        w.select("Option_Polynom");
        w.setText(row.box, "-1e400");
        w.form.Command1_Click();
        EXPECT_EQ(w.messages.messages,
                  std::vector<std::string>{std::string("The ") + row.what +
                                           " is too large to be held as a number; numbers must "
                                           "lie between -1.7E+308 and 1.7E+308."})
            << row.box;
    }
}

// Pins: the limit of sampled given points checked with >= instead of >:
// 1001 points are sampled, 1002 refused.
TEST(OkFaults, GivenCountAtCapacityAcceptedAndOnePastRefused)
{
    HeadlessWindow w;
    w.setText("Text_nU", "1001");
    w.form.Command1_Click();
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.List1.lines.size(), 3u + 1001u);
    w.setText("Text_nU", "1002");
    const FormSnapshot before = FormSnapshot::of(w);
    w.form.Command1_Click();
    EXPECT_EQ(w.messages.messages,
              std::vector<std::string>{"The number of given points must lie from 2 to 1001 for a "
                                       "test function; it is 1002."});
    support::expectUnchanged(before, FormSnapshot::of(w), "1002 points");
}

// Pins: the drive last accepted never remembered, so a refused drive steps
// back to the drive of the start instead of the one the user chose last.
TEST(BrowserFaults, LastReadableDriveNeverRemembered)
{
    support::TempDir dir;
    const std::string start = ui::joinPath(dir.path(), "start");
    const std::string chosen = ui::joinPath(dir.path(), "chosen");
    std::filesystem::create_directories(start);
    std::filesystem::create_directories(chosen);
    HeadlessWindow w(start);
    const std::string firstDrive = w.Drive1.drive();
    w.chooseDrive(chosen);
    ASSERT_TRUE(w.messages.messages.empty());
    ASSERT_NE(firstDrive, chosen);
    const std::string missing = ui::joinPath(dir.path(), "no-such-volume");
    w.chooseDrive(missing);
    EXPECT_EQ(w.Drive1.drive(), chosen);
    EXPECT_EQ(w.Dir1.path(), chosen);
    EXPECT_EQ(w.messages.messages,
              std::vector<std::string>{"The drive " + missing +
                                       " cannot be read; the browser stays in " + chosen + "."});
}

}  // namespace
}  // namespace tarvel
