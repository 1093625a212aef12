// End-to-end goldens of OK followed by Calculate: every list line, every
// message and every bit of yI, for each method on test functions and data
// sets up to the capacities. The expected hashes were taken from the plain
// scan and the baseline Lagrange loop; any faster path must reproduce them
// exactly, on every instruction set the program can choose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "interp/lagrange.h"
#include "support/instruction_set.h"
#include "ui/headless/headless_toolkit.h"

namespace tarvel {
namespace {

namespace fs = std::filesystem;
using ui::HeadlessWindow;

// FNV-1a, 64 bits.
class Fnv1a {
public:
    void add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001b3ULL;
        }
    }
    void add(std::string_view text)  // with a NUL after it
    {
        constexpr char kNul = '\0';
        add(text.data(), text.size());
        add(&kNul, 1);
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// A data-set file in the program's format. The numbers are written as
// integers with a decimal exponent, so the file reads the same anywhere.
std::string dataSetText(int count, const std::function<std::int64_t(int)>& microX,
                        const std::function<std::int64_t(int)>& milliY)
{
    std::string text = std::to_string(count) + "\n";
    for (int k = 0; k < count; ++k)
        text += std::to_string(k) + ", " + std::to_string(microX(k)) + "e-6, " +
                std::to_string(milliY(k)) + "e-3\n";
    return text;
}

std::int64_t wavyY(int k)
{
    return (static_cast<std::int64_t>(k) * k * 31 + k * 17) % 2001 - 1000;
}

// 302 points with uneven spacing, strictly increasing.
std::string unevenFull()
{
    return dataSetText(
        302, [](int k) { return std::int64_t{k} * 1000000 / 301 + (k * 37) % 200 - 100; }, wavyY);
}

// Multiples of 1/16: every interpolation abscissa of nI = 33 coincides with
// a given point or lies halfway.
std::string sixteenths()
{
    return dataSetText(17, [](int k) { return std::int64_t{k} * 62500; }, wavyY);
}

// Given points over [0.25, 0.75] only: the interpolation points outside it
// are settled by no test and keep their former values.
std::string middleOnly()
{
    return dataSetText(
        41, [](int k) { return 250000 + std::int64_t{k} * 12500; }, wavyY);
}

// Decreasing abscissae from 1 to 0: only coincidences are settled.
std::string decreasing()
{
    return dataSetText(
        21, [](int k) { return 1000000 - std::int64_t{k} * 50000; }, wavyY);
}

// Reaches beyond [0, 1] on both sides, with uneven steps.
std::string beyondBothEnds()
{
    return dataSetText(
        60, [](int k) { return -200000 + std::int64_t{k} * 24000 + (k % 3) * 3000; }, wavyY);
}

struct Scenario {
    const char* name;
    const char* function;  // the test-function option
    std::string (*dataSet)();  // for Option_DataSet
    const char* nU;             // for a test function
    const char* nPoly;          // for Option_Polynom
    const char* method;
    const char* nDeg;
    const char* nI;
    std::uint64_t hash;
    const char* probe;  // yI at index lastI * 3 / 7, in hexadecimal floating point
};

// Runs OK and Calculate, then Calculate again with a second nI so that the
// points no test settles keep values from the first run.
struct Outcome {
    std::uint64_t hash = 0;
    double probe = 0;
    std::size_t lines = 0;
};

Outcome run(const Scenario& s)
{
    // One folder per instruction-set case as well: CTest runs the cases side
    // by side, and each removes its folder at the end.
    std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(testName.begin(), testName.end(), '/', '-');
    const fs::path dir = fs::temp_directory_path() /
                         ("tarvel-golden-" +
                          std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                          "-" + testName + "-" + s.name);
    fs::create_directories(dir);
    if (s.dataSet)
        std::ofstream(dir / "golden.dsf", std::ios::binary) << s.dataSet();

    Outcome outcome;
    {
        HeadlessWindow w(dir.string());
        w.select(s.function);
        if (s.dataSet) {
            w.clickFile("golden.dsf");
        } else {
            w.setText("Text_nU", s.nU);
        }
        if (s.nPoly) {
            w.setText("Text_nPoly", s.nPoly);
            w.setText("Text_a0", "0.5");
            w.setText("Text_a1", "-3");
            w.setText("Text_a2", "1.25");
            w.setText("Text_a3", "2.5");
            w.setText("Text_a4", "-0.75");
        }
        w.form.Command1_Click();
        w.select(s.method);
        w.setText("Text_nDeg", s.nDeg);
        w.setText("Text_nI", "7");
        w.form.Command2_Click();
        w.setText("Text_nI", s.nI);
        w.form.Command2_Click();

        Fnv1a hash;
        for (const std::string_view line : w.List1.lines)
            hash.add(line);
        for (const std::string& message : w.messages.messages)
            hash.add("message: " + message);
        const int lastI = static_cast<int>(w.form.lastI);
        for (int i = 0; i <= lastI && i < kPointCapacity; ++i)
            hash.add(&w.form.yI[static_cast<std::size_t>(i)], sizeof(double));
        outcome.hash = hash.value();
        outcome.probe = lastI >= 0 ? w.form.yI[static_cast<std::size_t>(lastI * 3 / 7)] : 0.0;
        outcome.lines = w.List1.lines.size();
    }
    fs::remove_all(dir);
    return outcome;
}

// clang-format off
const Scenario kScenarios[] = {
    {"sine_poly_default", "Option_SinFunc", nullptr, "11", nullptr, "Option_Tarvel", "1", "150", 0xe4a6bbb7734ad6acULL, "0x1.d08c2f08bea02p-2"},
    {"sine_poly_deg100_copied", "Option_SinFunc", nullptr, "1001", nullptr, "Option_Tarvel", "100", "1001", 0x6ca2c5234ec5cf38ULL, "0x1.bf9b468953af8p-2"},
    {"sine_poly_deg100_interior", "Option_SinFunc", nullptr, "1000", nullptr, "Option_Tarvel", "100", "1001", 0x823b41580406d160ULL, "0x1.bf9b468953b03p-2"},
    {"sine_poly_deg7_odd_window", "Option_SinFunc", nullptr, "64", nullptr, "Option_Tarvel", "7", "333", 0x9e9a53a28b061ddeULL, "0x1.c14772152d3f6p-2"},
    {"cos10_poly_fractional_degree", "Option_Cos10Fu", nullptr, "41", nullptr, "Option_Tarvel", "4.5", "1001", 0x5caf601eca5818a1ULL, "0x1.62b3388df7b59p-2"},
    {"cos10_poly_deg40", "Option_Cos10Fu", nullptr, "97", nullptr, "Option_Tarvel", "40", "999", 0x83fbb66ad67d72e7ULL, "0x1.61221181253e5p-2"},
    {"polynom_poly_deg4", "Option_Polynom", nullptr, "13", "4", "Option_Tarvel", "4", "1001", 0x48b2f543a0c5fe6aULL, "-0x1.3ab8785aaa2bdp-4"},
    {"polynom_poly_deg0", "Option_Polynom", nullptr, "9", "3", "Option_Tarvel", "0", "50", 0xb5e814be42d6ef2bULL, "-0x1.45p-4"},
    {"sine_cubic_capacity", "Option_SinFunc", nullptr, "101", nullptr, "Option_InterCubc", "", "1001", 0x2050e152ded8f232ULL, "0x1.bf9b46006d042p-2"},
    {"cos10_cubic", "Option_Cos10Fu", nullptr, "33", nullptr, "Option_InterCubc", "", "1001", 0x82abc313e7c78f62ULL, "0x1.63799b8863c25p-2"},
    {"polynom_cubic_few", "Option_Polynom", nullptr, "3", "2", "Option_InterCubc", "", "17", 0x18e7ea1366bf477cULL, "-0x1.2daaaaaaaaaabp-3"},
    {"sine_pw_capacity", "Option_SinFunc", nullptr, "302", nullptr, "Option_InterPwCb", "", "1001", 0x39950aaba13c0b5bULL, "0x1.bf9b3b21a9dadp-2"},
    {"cos10_pw", "Option_Cos10Fu", nullptr, "57", nullptr, "Option_InterPwCb", "", "640", 0x7a72cfb0fb43fd62ULL, "0x1.5ada9ca2da93fp-2"},
    {"polynom_pw_two_points", "Option_Polynom", nullptr, "2", "4", "Option_InterPwCb", "", "33", 0xd65d04a91edade4dULL, "0x1.999999999999ap-4"},
    {"uneven_full_poly_deg100", "Option_DataSet", unevenFull, nullptr, nullptr, "Option_Tarvel", "100", "1001", 0x625f30822ec2ab77ULL, "0x1.9054e9478e306p-1"},
    {"uneven_full_poly_deg3", "Option_DataSet", unevenFull, nullptr, nullptr, "Option_Tarvel", "3", "1001", 0x6a2b6dfaf1df8814ULL, "0x1.9c10180896554p-1"},
    {"uneven_full_pw", "Option_DataSet", unevenFull, nullptr, nullptr, "Option_InterPwCb", "", "1001", 0xff9570e525e1cdbcULL, "0x1.9d27ec09524bcp-1"},
    {"sixteenths_poly", "Option_DataSet", sixteenths, nullptr, nullptr, "Option_Tarvel", "5", "33", 0x38cc9fd4f3570be7ULL, "0x1.2f3645a1cac09p-1"},
    {"sixteenths_cubic", "Option_DataSet", sixteenths, nullptr, nullptr, "Option_InterCubc", "", "33", 0x8d28ab998541791dULL, "0x1.3eaee3eb2d0b7p-1"},
    {"sixteenths_pw", "Option_DataSet", sixteenths, nullptr, nullptr, "Option_InterPwCb", "", "1001", 0xdfaf5a0678384d6dULL, "0x1.3d537b515151bp-1"},
    {"middle_only_poly", "Option_DataSet", middleOnly, nullptr, nullptr, "Option_Tarvel", "12", "1001", 0x72a0addf1c5ce3c3ULL, "-0x1.3ae585e366b4ap-1"},
    {"middle_only_cubic", "Option_DataSet", middleOnly, nullptr, nullptr, "Option_InterCubc", "", "101", 0x81b12e4887ddd6fcULL, "-0x1.27cae89244a0cp-2"},
    {"middle_only_pw", "Option_DataSet", middleOnly, nullptr, nullptr, "Option_InterPwCb", "", "9", 0x69bc3b05afa11ffaULL, "0x1.1374bc6a7ef9ep-2"},
    {"decreasing_poly", "Option_DataSet", decreasing, nullptr, nullptr, "Option_Tarvel", "6", "41", 0xf03508ec82f11f4eULL, "0x0p+0"},
    {"decreasing_cubic", "Option_DataSet", decreasing, nullptr, nullptr, "Option_InterCubc", "", "21", 0x004c8c8c5f821ad6ULL, "-0x1.5604189374bc7p-2"},
    {"decreasing_pw", "Option_DataSet", decreasing, nullptr, nullptr, "Option_InterPwCb", "", "1001", 0x6eb3d1121919c5aaULL, "0x0p+0"},
    {"beyond_both_ends_poly", "Option_DataSet", beyondBothEnds, nullptr, nullptr, "Option_Tarvel", "9", "1001", 0xf4625214cc31cc57ULL, "0x1.d34c4199ddc74p-2"},
    {"beyond_both_ends_cubic", "Option_DataSet", beyondBothEnds, nullptr, nullptr, "Option_InterCubc", "", "1001", 0x2881bb99542914d4ULL, "0x1.cbbcec976bc44p-2"},
    {"beyond_both_ends_pw", "Option_DataSet", beyondBothEnds, nullptr, nullptr, "Option_InterPwCb", "", "250", 0xa66000c81bba832dULL, "0x1.dd4e8e341fbcap-2"},
};
// clang-format on

std::string hexFloat(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

void expectGolden(const Scenario& s)
{
    SCOPED_TRACE(s.name);
    const Outcome got = run(s);
    const double probe = std::strtod(s.probe, nullptr);
    const bool same = got.hash == s.hash &&
                      std::memcmp(&got.probe, &probe, sizeof probe) == 0;
    char hashText[32];
    std::snprintf(hashText, sizeof hashText, "0x%016llx",
                  static_cast<unsigned long long>(got.hash));
    EXPECT_TRUE(same) << "got hash " << hashText << ", probe \"" << hexFloat(got.probe) << "\" ("
                      << got.lines << " list lines)";
    EXPECT_GT(got.lines, 0u);
}

class CalculateGolden : public support::PerInstructionSet {};

TEST_P(CalculateGolden, ListLinesAndBitsOfYI)
{
    for (const Scenario& s : kScenarios)
        expectGolden(s);
}

INSTANTIATE_TEST_SUITE_P(EachInstructionSet, CalculateGolden,
                         ::testing::ValuesIn(support::kAllInstructionSets),
                         support::instructionSetParamName);

}  // namespace
}  // namespace tarvel
