#include "data/dsf_reader.h"
#include "data/dsf_writer.h"
#include "data/printable_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <charconv>
#include <cstdint>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvel {
namespace {

using namespace std::string_literals;

std::optional<DataSet> parsed(std::string_view text)
{
    return parseDataSet(text).set;
}

std::optional<DataSet> readFile(const std::string& path)
{
    return readDataSetFile(path).set;
}

// Compares loaded points with the expected ones bit for bit: both sides are
// correctly rounded decimal conversions, so any difference is a fault.
void expectPoints(const std::string& caseName, const std::optional<DataSet>& loaded,
                  const std::vector<double>& x, const std::vector<double>& y)
{
    ASSERT_TRUE(loaded.has_value()) << caseName << ": the load failed";
    ASSERT_EQ(loaded->count, static_cast<int>(x.size())) << caseName << ": count";
    ASSERT_EQ(loaded->x.size(), x.size()) << caseName << ": number of x";
    ASSERT_EQ(loaded->y.size(), y.size()) << caseName << ": number of y";
    for (std::size_t i = 0; i < x.size(); ++i) {
        EXPECT_EQ(loaded->x[i], x[i]) << caseName << ": x[" << i << "]";
        EXPECT_EQ(loaded->y[i], y[i]) << caseName << ": y[" << i << "]";
        EXPECT_EQ(std::signbit(loaded->x[i]), std::signbit(x[i]))
            << caseName << ": sign of x[" << i << "]";
        EXPECT_EQ(std::signbit(loaded->y[i]), std::signbit(y[i]))
            << caseName << ": sign of y[" << i << "]";
    }
}

struct GoodCase {
    std::string name;
    std::string text;
    std::vector<double> x;
    std::vector<double> y;
};

void PrintTo(const GoodCase& row, std::ostream* out)
{
    *out << row.name;
}

const std::vector<GoodCase> kGoodCases = {
    {"worked_example_one_record_per_line",
     "3\n0, 0, 1\n1, 0.5, 2\n2, 1, 0\n",
     {0, 0.5, 1},
     {1, 2, 0}},
    {"worked_example_all_on_one_line", "3,0,0,1,1,0.5,2,2,1,0", {0, 0.5, 1}, {1, 2, 0}},
    {"mixed_commas_and_line_ends", "3\n0\n0\n1,1,0.5\n2\n2,1,0", {0, 0.5, 1}, {1, 2, 0}},
    {"crlf_line_ends", "3\r\n0, 0, 1\r\n1, 0.5, 2\r\n2, 1, 0\r\n", {0, 0.5, 1}, {1, 2, 0}},
    {"cr_only_line_ends", "3\r0, 0, 1\r1, 0.5, 2\r2, 1, 0\r", {0, 0.5, 1}, {1, 2, 0}},
    {"quoted_labels_holding_commas_and_line_ends",
     "3\n\"a, b\", 0.25, 1\n\"two\nlines\",0.5,2\n\"\" , 1 , 0",
     {0.25, 0.5, 1},
     {1, 2, 0}},
    {"quoted_label_with_crlf_inside", "1\r\n\"x\r\ny\",7,8\r\n", {7}, {8}},
    {"unquoted_text_labels", "2\nfirst point, 0.25, -3\nP2 ,0.75,4e-1", {0.25, 0.75}, {-3, 0.4}},
    {"empty_labels", "2,,0.1,0.2\n,0.3,0.4", {0.1, 0.3}, {0.2, 0.4}},
    {"blank_lines_between_records", "2\n\n\n0,1,2\n\n   \n\t\r\n1,3,4\n", {1, 3}, {2, 4}},
    {"blanks_and_tabs_around_items", " \t2 \t,\t a ,\t1\t, 2 \n b , 3 ,4  ", {1, 3}, {2, 4}},
    {"trailing_record_ignored", "1\n0,2,3\n1,4,5\n", {2}, {3}},
    {"trailing_garbage_ignored",
     "1\n0, 2, 3\nnot a record \"open quote\n\x01\xff"s + "\0"s,
     {2},
     {3}},
    {"exponents_and_signs",
     "4\n0,+1.5e2,-2.5E-3\n1,-.5,5.\n2,1e+0,-0\n3,0.000125e4,1E+22",
     {150, -0.5, 1, 1.25},
     {-0.0025, 5, -0.0, 1e22}},
    {"zero_alone", "0", {}, {}},
    {"zero_then_garbage", "0\n\"unterminated", {}, {}},
    {"count_with_period", "3.0\n0,0,1\n1,0.5,2\n2,1,0", {0, 0.5, 1}, {1, 2, 0}},
    {"count_with_exponent", "3e0,0,0,1,1,0.5,2,2,1,0", {0, 0.5, 1}, {1, 2, 0}},
    {"count_with_sign_and_fraction_exponent", "+30e-1,0,0,1,1,0.5,2,2,1,0", {0, 0.5, 1}, {1, 2, 0}},
    {"abscissae_unordered_and_outside_unit_interval",
     "3\n0,5,1\n1,-2,2\n2,0.5,3",
     {5, -2, 0.5},
     {1, 2, 3}},
    {"underflow_becomes_zero_of_its_sign",
     "2\n0,1e-400,-1e-400\n1,0.0000000001e-320,4.9e-324",
     {0.0, 0.0},
     {-0.0, std::numeric_limits<double>::denorm_min()}},
    {"largest_finite_values",
     "1\n0,1.7976931348623157e308,-1.7976931348623157e308",
     {1.7976931348623157e308},
     {-1.7976931348623157e308}},
    {"rounding_of_hard_decimals",
     "1\nh,2.2250738585072011e-308,0.30000000000000004",
     {2.2250738585072011e-308},
     {0.30000000000000004}},
    {"nul_byte_inside_label", "1\nab\0cd,1,2"s, {1}, {2}},
    {"quoted_number_as_label", "1\n\"1\",6,7", {6}, {7}},
    {"underflow_after_many_leading_fraction_zeros",
     "1,a,0." + std::string(400, '0') + "1e5,2",
     {0.0},
     {2}},
    {"underflow_after_many_leading_integer_zeros",
     "1,a," + std::string(1000, '0') + "1e-400,2",
     {0.0},
     {2}},
    {"underflow_by_huge_exponent", "1,a,7e-99999999999999999999999999,2", {0.0}, {2}},
    {"underflow_with_many_fraction_digits",
     "1,a,-0." + std::string(1000, '1') + "e-400,2",
     {-0.0},
     {2}},
};

class GoodDataSet : public testing::TestWithParam<GoodCase> {};

TEST_P(GoodDataSet, LoadsThePoints)
{
    const GoodCase& c = GetParam();
    expectPoints(c.name, parsed(c.text), c.x, c.y);
}

INSTANTIATE_TEST_SUITE_P(Table, GoodDataSet, testing::ValuesIn(kGoodCases),
                         [](const auto& row) { return row.param.name; });

struct BadCase {
    std::string name;
    std::string text;
};

void PrintTo(const BadCase& row, std::ostream* out)
{
    *out << row.name;
}

const std::vector<BadCase> kBadCases = {
    {"empty_file", ""},
    {"only_blanks_and_line_ends", " \t \n\r\n  \r"},
    {"short_file_announces_3_holds_2", "3\n0, 0, 1\n1, 0.5, 2\n"},
    {"last_record_without_y", "1\n0, 1"},
    {"last_y_missing_after_comma", "1\n0,1,\n"},
    {"count_alone", "2"},
    {"fractional_count", "3.5\n0,0,1\n1,0.5,2\n2,1,0\n0,0,0"},
    {"negative_count", "-1\n0,0,1"},
    {"count_above_capacity", "1002"},
    {"count_not_a_number", "abc\n0,0,1"},
    {"count_empty", ",1,0,1"},
    {"count_quoted", "\"1\"\n0,0,1"},
    {"count_followed_by_text", "1 point\n0,0,1"},
    {"count_infinite", "1e400"},
    {"count_nan", "nan"},
    {"non_numeric_x", "1\n0,abc,1"},
    {"non_numeric_y", "1\n0,1,y"},
    {"empty_x_field", "1\n0,,1"},
    {"empty_y_field", "1\n0,1,,"},
    {"quoted_x", "1\n0,\"1\",2"},
    {"quoted_y", "1\n0,1,\"2\""},
    {"infinite_x", "1\n0,1e400,2"},
    {"negative_infinite_y", "1\n0,1,-1e400"},
    {"rounds_above_largest_double", "1\n0,1.7976931348623159e308,2"},
    {"overflow_by_digits", "1\n0," + std::string(400, '9') + ",2"},
    {"overflow_with_small_leading_fraction", "1\n0,0.001e312,2"},
    {"overflow_by_huge_exponent", "1\n0,7e+99999999999999999999999999,2"},
    {"inf_text", "1\n0,inf,1"},
    {"nan_text", "1\n0,1,nan"},
    {"hexadecimal", "1\n0,0x10,1"},
    {"two_periods", "1\n0,1.2.3,4"},
    {"exponent_without_digits", "1\n0,1e,2"},
    {"exponent_sign_without_digits", "1\n0,1e+,2"},
    {"exponent_without_mantissa", "1\n0,e5,2"},
    {"sign_alone", "1\n0,-,2"},
    {"period_alone", "1\n0,.,2"},
    {"double_sign", "1\n0,--1,2"},
    {"blank_inside_number", "1\n0,1 2,3"},
    {"nul_byte_inside_number", "1\n0,1\0,2"s},
    {"unterminated_quoted_label", "1\n\"abc,1,2\n"},
    {"text_after_closing_quote", "1\n\"P1\"x,1,2"},
    {"number_after_closing_quote", "1\n\"P1\"9,1,2"},
};

class BadDataSet : public testing::TestWithParam<BadCase> {};

TEST_P(BadDataSet, IsRefused)
{
    EXPECT_FALSE(parsed(GetParam().text).has_value()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Table, BadDataSet, testing::ValuesIn(kBadCases),
                         [](const auto& row) { return row.param.name; });

// Why a file is refused, as the status line says it: the line counted as
// an editor counts it (LF, CR LF and a lone CR each end one line) and the
// item at fault quoted as written.
struct FaultCase {
    std::string name;
    std::string text;
    DataSetFault fault;
    std::string reason;
};

void PrintTo(const FaultCase& row, std::ostream* out)
{
    *out << row.name;
}

const std::vector<FaultCase> kFaultCases = {
    {"empty_file", "", DataSetFault::Empty, "the file is empty"},
    {"only_layout", " \t\r\n\n ", DataSetFault::Empty, "the file is empty"},
    {"byte_order_mark_alone", "\xEF\xBB\xBF", DataSetFault::Empty, "the file is empty"},
    {"utf16_little_endian",
     "\xFF\xFE"
     "3\0\n\0"s,
     DataSetFault::Utf16, "the file is UTF-16 text; a data set is plain text (ASCII or UTF-8)"},
    {"count_above_capacity", "1002\n0,0,1", DataSetFault::BadCount,
     "line 1: '1002' is not a whole number of points from 0 to 1001"},
    {"count_with_a_word", "3 points\n0,0,1", DataSetFault::BadCount,
     "line 1: '3 points' is not a whole number of points from 0 to 1001"},
    {"count_fractional_on_line_3", "\n\r\n2.5\n", DataSetFault::BadCount,
     "line 3: '2.5' is not a whole number of points from 0 to 1001"},
    {"count_quoted", "\"1\"\n0,0,1", DataSetFault::BadCount,
     "line 1: '\"1\"' is not a whole number of points from 0 to 1001"},
    {"count_negative", "-1", DataSetFault::BadCount,
     "line 1: '-1' is not a whole number of points from 0 to 1001"},
    {"fewer_records_than_announced", "3\n0, 0, 1\n1, 0.5, 2\n", DataSetFault::FileEnds,
     "line 3: the file holds 2 points but announces 3"},
    {"one_record_short", "2\n0, 0, 1\n", DataSetFault::FileEnds,
     "line 2: the file holds 1 point but announces 2"},
    {"record_without_y", "1\n0, 1", DataSetFault::FileEnds,
     "line 2: the file ends inside point 0, which lacks its y"},
    {"record_with_label_only", "2\n0,0,0\n1\n", DataSetFault::FileEnds,
     "line 3: the file ends inside point 1, which lacks its x and y"},
    {"x_not_a_number", "3\n0,0,1\n1,0.5,2\n2,abc,0", DataSetFault::NotANumber,
     "line 4: 'abc' is not a number (the x of point 2)"},
    {"y_not_a_number_crlf", "3\r\n0,0,1\r\n1,0.5,2\r\n2,1,abc\r\n", DataSetFault::NotANumber,
     "line 4: 'abc' is not a number (the y of point 2)"},
    {"y_not_a_number_cr_only", "3\r0,0,1\r1,0.5,2\r2,1,abc\r", DataSetFault::NotANumber,
     "line 4: 'abc' is not a number (the y of point 2)"},
    {"lines_inside_a_quoted_label_count", "2\n\"a\nb\",0,0\n1,x,0", DataSetFault::NotANumber,
     "line 4: 'x' is not a number (the x of point 1)"},
    {"semicolons", "2\n0;0;1\n1;1;0\n", DataSetFault::NotANumber,
     "line 3: '1;1;0' is not a number (the x of point 0); items are separated by commas or "
     "line ends"},
    {"tabs_between_numbers", "2\n0\t0\t1\n1\t1\t0\n", DataSetFault::NotANumber,
     "line 3: '1\xE2\x90\x89"
     "1\xE2\x90\x89"
     "0' is not a number (the x of point 0); items are "
     "separated by commas or line ends"},
    {"empty_x", "1\n0,,1", DataSetFault::EmptyItem, "line 2: the x of point 0 is empty"},
    {"quoted_y", "1\n0,1,\"2\"", DataSetFault::QuotedNumber,
     "line 2: '\"2\"' is not a number (the y of point 0); numbers are written without quotes"},
    {"x_too_large", "1\n0,1e400,2", DataSetFault::NumberTooLarge,
     "line 2: '1e400' is too large for a number (the x of point 0)"},
    {"quote_not_closed", "2\n0,0,0\n\"abc,1,2\n", DataSetFault::QuoteNotClosed,
     "line 3: the quote that opens the label of point 1 is never closed"},
    {"text_after_quote", "1\n\"P1\"x,1,2", DataSetFault::TextAfterQuote,
     "line 2: '\"P1\"x' has text after its closing quote (the label of point 0)"},
    {"bytes_that_are_not_text", "1\n0,\xFF\xFE,1", DataSetFault::NotANumber,
     "line 2: '\xEF\xBF\xBD\xEF\xBF\xBD' is not a number (the x of point 0)"},
    {"long_item_is_cut", "1\n0," + std::string(50, 'a') + ",1", DataSetFault::NotANumber,
     "line 2: '" + std::string(40, 'a') + "\xE2\x80\xA6' is not a number (the x of point 0)"},
    {"byte_order_mark_keeps_line_numbers",
     "\xEF\xBB\xBF"
     "1\nabc",
     DataSetFault::FileEnds, "line 2: the file ends inside point 0, which lacks its x and y"},
    // What is really in an item is shown, not hidden.
    {"second_byte_order_mark",
     "\xEF\xBB\xBF\xEF\xBB\xBF"
     "3\n",
     DataSetFault::BadCount,
     "line 1: '\xE2\x9F\xA8"
     "BOM\xE2\x9F\xA9"
     "3' is not a whole number of points from 0 to 1001"},
    {"zero_width_space", "1\n0,2\xE2\x80\x8B,1", DataSetFault::NotANumber,
     "line 2: '2\xE2\x9F\xA8U+200B\xE2\x9F\xA9' is not a number (the x of point 0)"},
    {"no_break_space", "1\n0,1,0.5\xC2\xA0", DataSetFault::NotANumber,
     "line 2: '0.5\xE2\x9F\xA8U+00A0\xE2\x9F\xA9' is not a number (the y of point 0)"},
    {"soft_hyphen",
     "1\n0,1\xC2\xAD"
     "5,1",
     DataSetFault::NotANumber,
     "line 2: '1\xE2\x9F\xA8U+00AD\xE2\x9F\xA9"
     "5' is not a number (the x of point 0)"},
    {"right_to_left_override_is_shown_not_obeyed",
     "1\n0,\xE2\x80\xAE"
     "abc,1",
     DataSetFault::NotANumber,
     "line 2: '\xE2\x9F\xA8U+202E\xE2\x9F\xA9"
     "abc' is not a number (the x of point 0)"},
    {"hebrew_item_is_isolated",
     "1\n0,\xD7\x90"
     "1,1",
     DataSetFault::NotANumber,
     "line 2: '\xE2\x81\xA8\xD7\x90"
     "1\xE2\x81\xA9' is not a number (the x of point 0)"},
};

class FaultyDataSet : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultyDataSet, SaysWhichLineAndItemAreAtFault)
{
    const FaultCase& c = GetParam();
    const DataSetRead read = parseDataSet(c.text);
    ASSERT_FALSE(read.set.has_value()) << c.name;
    EXPECT_EQ(read.failure.fault, c.fault) << c.name;
    EXPECT_EQ(describeFailure(read.failure), c.reason) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, FaultyDataSet, testing::ValuesIn(kFaultCases),
                         [](const auto& row) { return row.param.name; });

// Bytes arriving in two pieces, as from a pipe: until the outcome is
// certain the parser waits; then it is the outcome of the whole text, but
// for the note on what follows the last record, which a stream never reads.
TEST(DataSetStream, EveryCutGivesTheOutcomeOfTheWholeText)
{
    std::vector<std::string> texts = {
        "3\n0, 0, 1\n1, 0.5, 2\n2, 1, 0\n",
        "\xEF\xBB\xBF"
        "2\r\n\"a, b\" ,0.25,1\r\n\"\",0.75,-1\r\n"
        "tail",
        "1\n\"P1\"  x,1,2",
        "2\n0,1,2\n1,3",
        "\xFF\xFE"
        "3\0\n"s,
    };
    for (const FaultCase& row : kFaultCases)
        texts.push_back(row.text);
    for (const std::string& text : texts) {
        const DataSetRead whole = parseDataSet(text);
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            DataSetStreamParser stream;
            std::optional<DataSetRead> read =
                stream.parse(std::string_view(text).substr(0, cut), false);
            const bool early = read.has_value();
            if (!early)
                read = stream.parse(text, true);
            ASSERT_TRUE(read.has_value());
            const std::string where = printableText(text) + " cut at " + std::to_string(cut);
            ASSERT_EQ(read->set.has_value(), whole.set.has_value()) << where;
            if (whole.set) {
                EXPECT_EQ(read->set->x, whole.set->x) << where;
                EXPECT_EQ(read->set->y, whole.set->y) << where;
                EXPECT_EQ(read->set->itemsAfterLastRecord,
                          !early && whole.set->itemsAfterLastRecord)
                    << where;
            } else {
                EXPECT_EQ(describeFailure(read->failure), describeFailure(whole.failure)) << where;
            }
        }
    }
}

// The last y is complete only at its separator: "3" may yet become "35".
TEST(DataSetStream, WaitsForTheSeparatorOfTheLastItem)
{
    DataSetStreamParser stream;
    EXPECT_FALSE(stream.parse("1\n0,0.5,3", false).has_value());
    const std::optional<DataSetRead> read = stream.parse("1\n0,0.5,35\nanything", false);
    ASSERT_TRUE(read && read->set);
    EXPECT_EQ(read->set->y, std::vector<double>{35});
}

TEST(DataSetByteOrderMark, IsSkippedBeforeTheCount)
{
    expectPoints("UTF-8 mark",
                 parsed("\xEF\xBB\xBF"
                        "2\r\n0,0.25,1\r\n1,0.75,-1\r\n"),
                 {0.25, 0.75}, {1, -1});
    EXPECT_FALSE(parsed("1\n0,\xEF\xBB\xBF"
                        "1,2")
                     .has_value())
        << "nor inside a number";
}

TEST(DataSetItemsAfterLastRecord, AreNotedButNotRead)
{
    const std::pair<const char*, bool> rows[] = {
        {"1\n0,2,3\n1,4,5\n", true},
        {"1\n0,2,3\n\"open", true},
        {"1\n0,2,3\n \t\r\n\n", false},
        {"1\n0,2,3", false},
        {"0\n", false},
        {"0\n,", true},
    };
    for (const auto& [text, noted] : rows) {
        const std::optional<DataSet> set = parsed(text);
        ASSERT_TRUE(set.has_value()) << text;
        EXPECT_EQ(set->itemsAfterLastRecord, noted) << text;
    }
}

// A file of `records` records announcing `count`; record i holds
// (i, i / 1000, i squared).
std::string generatedFile(int count, int records)
{
    std::string text = std::to_string(count) + "\n";
    for (int i = 0; i < records; ++i) {
        text +=
            std::to_string(i) + ", " + std::to_string(i) + "e-3, " + std::to_string(i * i) + "\n";
    }
    return text;
}

TEST(DataSetCapacity, FullCapacityLoads)
{
    std::vector<double> x, y;
    for (int i = 0; i < 1001; ++i) {
        x.push_back(i / 1000.0);
        y.push_back(static_cast<double>(i * i));
    }
    expectPoints("1001 records", parsed(generatedFile(1001, 1001)), x, y);
}

TEST(DataSetCapacity, OneAboveCapacityFailsEvenWhenComplete)
{
    EXPECT_FALSE(parsed(generatedFile(1002, 1002)).has_value());
}

TEST(DataSetCapacity, FullCapacityMissingTheLastRecordFails)
{
    EXPECT_FALSE(parsed(generatedFile(1001, 1000)).has_value());
}

// Random values in random layouts: every separator, blank and label form
// the reader accepts, mixed freely, must give back exactly the values
// written.
class RandomFile {
public:
    explicit RandomFile(unsigned seed) : rng_(seed) {}

    void build()
    {
        const int n = pick(0, 40);
        text_ = std::to_string(n);
        for (int i = 0; i < n; ++i) {
            const bool emptyLabel = pick(0, 3) == 0;
            separator(false);
            label(emptyLabel);
            separator(emptyLabel);
            x_.push_back(number());
            separator(false);
            y_.push_back(number());
        }
        if (n > 0)
            lastYStart_ = text_.size() - numberText_.size();
        if (pick(0, 1))
            text_ += "\n\"trailing, never read";
    }

    const std::string& text() const { return text_; }
    const std::vector<double>& x() const { return x_; }
    const std::vector<double>& y() const { return y_; }
    std::size_t lastYStart() const { return lastYStart_; }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    void blanks()
    {
        text_ += std::string(static_cast<std::size_t>(pick(0, 2)), pick(0, 1) ? ' ' : '\t');
    }

    // An empty label is an item only when a comma, not a line end, closes it.
    void separator(bool commaOnly)
    {
        blanks();
        static const char* const kSeparators[] = {",", "\n", "\r\n", "\r", "\n\n"};
        text_ += kSeparators[commaOnly ? 0 : pick(0, 4)];
        blanks();
    }

    void label(bool empty)
    {
        if (empty)
            return;
        switch (pick(0, 2)) {
        case 0:
            text_ += std::to_string(pick(-5, 2000));
            break;
        case 1:
            text_ += "\"p, " + std::to_string(pick(0, 99)) + "\n\"";
            break;
        default:
            text_ += "point " + std::to_string(pick(0, 99));
            break;
        }
    }

    double number()
    {
        const double mantissa = std::uniform_real_distribution<double>(-1.0, 1.0)(rng_);
        const double value = std::ldexp(mantissa, pick(-1070, 1023));
        char buffer[64];
        std::to_chars_result r = pick(0, 1) ? std::to_chars(buffer, buffer + sizeof buffer, value)
                                            : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                            std::chars_format::scientific, 17);
        numberText_.assign(buffer, r.ptr);
        text_ += numberText_;
        return value;
    }

    std::mt19937 rng_;
    std::string text_;
    std::string numberText_;
    std::vector<double> x_, y_;
    std::size_t lastYStart_ = 0;
};

TEST(DataSetProperties, RandomLayoutsGiveBackTheWrittenValues)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        RandomFile file(seed);
        file.build();
        expectPoints("seed " + std::to_string(seed) + " text:\n" + file.text(), parsed(file.text()),
                     file.x(), file.y());
    }
}

// A file cut anywhere before its last y item is missing data and must fail,
// not load defaults or read past the cut.
TEST(DataSetProperties, EveryCutBeforeTheLastItemFails)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        RandomFile file(seed);
        file.build();
        if (file.x().empty())
            continue;
        for (std::size_t length = 0; length <= file.lastYStart(); ++length) {
            const std::string cut = file.text().substr(0, length);
            EXPECT_FALSE(parsed(cut).has_value()) << "seed " << seed << " cut at " << length;
        }
    }
}

TEST(DataSetProperties, RandomBytesNeverGiveAnInconsistentSet)
{
    const std::string alphabet = "0123456789.,eE+-\" \t\r\n\0ax"s;
    std::mt19937 rng(7);
    for (int trial = 0; trial < 5000; ++trial) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 60)(rng), ' ');
        for (char& c : text)
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
        const std::optional<DataSet> set = parsed(text);
        if (!set)
            continue;
        ASSERT_GE(set->count, 0) << "trial " << trial;
        ASSERT_EQ(set->x.size(), static_cast<std::size_t>(set->count)) << "trial " << trial;
        ASSERT_EQ(set->y.size(), static_cast<std::size_t>(set->count)) << "trial " << trial;
        for (int i = 0; i < set->count; ++i) {
            EXPECT_TRUE(std::isfinite(set->x[i]) && std::isfinite(set->y[i]))
                << "trial " << trial << " point " << i;
        }
    }
}

// Large inputs must be read in one pass; a quadratic reader would not
// finish these in the test's time.
TEST(DataSetProperties, HugeItemsAreReadInOnePass)
{
    const std::size_t big = 8u << 20;
    expectPoints("many blank lines", parsed(std::string(big, '\n') + "1,a,2,3"), {2}, {3});
    expectPoints("long label", parsed("1\n" + std::string(big, 'a') + ",2,3"), {2}, {3});
    expectPoints("long quoted label", parsed("1\n\"" + std::string(big, ',') + "\",2,3"), {2}, {3});
    expectPoints("long zero fraction", parsed("1,a,0." + std::string(big, '0') + "1,3"), {0.0},
                 {3});
    EXPECT_FALSE(parsed("1,a,1" + std::string(big, '0') + ",3").has_value()) << "long overflow";
    EXPECT_FALSE(parsed("1\n\"" + std::string(big, 'a')).has_value()) << "long unterminated quote";
}

// Files on disk, in a fresh directory whose name and file names carry blanks
// and letters outside ASCII.
class DataSetFileTest : public testing::Test {
protected:
    static std::filesystem::path fromUtf8(const std::string& utf8)
    {
        std::u8string u8;
        for (char c : utf8)
            u8 += static_cast<char8_t>(c);
        return std::filesystem::path(u8);
    }

    static std::string toUtf8(const std::filesystem::path& path)
    {
        std::string utf8;
        for (char8_t c : path.u8string())
            utf8 += static_cast<char>(c);
        return utf8;
    }

    void SetUp() override
    {
        const std::string unique = std::to_string(std::random_device{}());
        dirUtf8_ = toUtf8(std::filesystem::temp_directory_path()) + "/tarvel dsf \xC3\xA7" + unique;
        std::filesystem::create_directories(fromUtf8(dirUtf8_));
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(fromUtf8(dirUtf8_), ignored);
    }

    std::string write(const std::string& nameUtf8, const std::string& bytes)
    {
        const std::string pathUtf8 = dirUtf8_ + "/" + nameUtf8;
        std::ofstream(fromUtf8(pathUtf8), std::ios::binary) << bytes;
        return pathUtf8;
    }

    std::string dirUtf8_;
};

TEST_F(DataSetFileTest, LoadsAFileWithBlanksAndNonAsciiLettersInItsName)
{
    const std::string path =
        write("\xC3\x96l\xC3\xA7\xC3\xBCm verisi.dsf", "3\r\n0, 0, 1\r\n1, 0.5, 2\r\n2, 1, 0\r\n");
    expectPoints("non-ASCII name", readFile(path), {0, 0.5, 1}, {1, 2, 0});
}

TEST_F(DataSetFileTest, MissingFileFails)
{
    EXPECT_FALSE(readFile(dirUtf8_ + "/absent.dsf").has_value());
}

TEST_F(DataSetFileTest, DirectoryGivenAsFileFails)
{
    std::filesystem::create_directory(fromUtf8(dirUtf8_ + "/folder.dsf"));
    EXPECT_FALSE(readFile(dirUtf8_ + "/folder.dsf").has_value());
    EXPECT_FALSE(readFile(dirUtf8_).has_value());
}

TEST_F(DataSetFileTest, FileThatDoesNotParseFails)
{
    EXPECT_FALSE(readFile(write("short.dsf", "3\n0, 0, 1\n")).has_value());
}

TEST_F(DataSetFileTest, FaultsOfTheFileItselfNameNoLine)
{
    std::filesystem::create_directory(fromUtf8(dirUtf8_ + "/folder.dsf"));
    const std::pair<std::string, std::string> rows[] = {
        {dirUtf8_ + "/absent.dsf", "the file no longer exists"},
        {dirUtf8_ + "/folder.dsf", "this is not a file that can be read"},
    };
    for (const auto& [path, reason] : rows) {
        const DataSetRead read = readDataSetFile(path);
        ASSERT_FALSE(read.set.has_value()) << path;
        EXPECT_EQ(read.failure.line, 0) << path;
        EXPECT_EQ(describeFailure(read.failure), reason) << path;
    }
}

// A named pipe is read to its end like a file, however slowly it is written.
TEST_F(DataSetFileTest, NamedPipeIsReadToItsEnd)
{
    const std::string path = dirUtf8_ + "/pipe.dsf";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::thread writer([&] {
        std::ofstream out(path, std::ios::binary);
        out << "2\n0, 0.25, 1\n";
        out.flush();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        out << "1, 0.75, -1\n";
    });
    const std::optional<DataSet> set = readFile(path);
    writer.join();
    expectPoints("pipe", set, {0.25, 0.75}, {1, -1});
}

// Runs the read on a thread of its own; the test waits a generous while
// for its outcome, so a read that never ends fails the test instead of
// hanging it.
std::optional<DataSetRead> readWithin(
    const std::string& path, const std::atomic<bool>& cancelled,
    const std::function<void()>& meanwhile = [] {})
{
    auto outcome = std::make_shared<std::promise<DataSetRead>>();
    std::future<DataSetRead> result = outcome->get_future();
    std::thread reader(
        [outcome, path, &cancelled] { outcome->set_value(readDataSetFile(path, cancelled)); });
    meanwhile();
    if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        reader.detach();
        return std::nullopt;
    }
    reader.join();
    return result.get();
}

// A writer that keeps the pipe open after the set (a program that writes
// its results and goes on running): the load ends with the last record,
// reading nothing of what follows, and the writer is released afterwards.
TEST_F(DataSetFileTest, NamedPipeIsReadUpToItsLastRecordOnly)
{
    const std::string path = dirUtf8_ + "/open.dsf";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::promise<void> release;
    std::thread writer([&path, done = release.get_future()] {
        const int fd = ::open(path.c_str(), O_WRONLY);
        std::string text = "2\n0, 0.25, 1\n1, 0.75, -1\n";
        for (int i = 0; i < 100; ++i)
            text += "more, 1, 2\n";
        if (fd >= 0 && ::write(fd, text.data(), text.size()) > 0)
            done.wait_for(std::chrono::seconds(30));
        if (fd >= 0)
            ::close(fd);
    });
    const std::atomic<bool> cancelled(false);
    const std::optional<DataSetRead> read = readWithin(path, cancelled);
    release.set_value();
    writer.join();
    ASSERT_TRUE(read.has_value()) << "the read waited for the writer to close the pipe";
    expectPoints("open pipe", read->set, {0.25, 0.75}, {1, -1});
    EXPECT_FALSE(read->set->itemsAfterLastRecord);
}

// Nobody writes: the read waits on the pipe until the user cancels, then
// lets go at once; a read of the same pipe afterwards gets exactly what is
// written after it began.
TEST_F(DataSetFileTest, CancelledPipeReadLetsGoAndTheNextReadGetsItsOwnData)
{
    const std::string path = dirUtf8_ + "/fifo.dsf";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::atomic<bool> cancelled(false);
    const std::optional<DataSetRead> given_up =
        readWithin(path, cancelled, [&] { cancelled = true; });
    ASSERT_TRUE(given_up.has_value()) << "the cancelled read did not end";
    EXPECT_FALSE(given_up->set.has_value());
    EXPECT_EQ(given_up->failure.fault, DataSetFault::Cancelled);

    const std::atomic<bool> kept(false);
    std::thread writer([&path] {
        std::ofstream out(path, std::ios::binary);
        for (const char* line : {"3\n", "\"a\",0,1\n", "\"b\",0.5,2\n", "\"c\",1,0\n"}) {
            out << line;
            out.flush();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const std::optional<DataSetRead> read = readWithin(path, kept);
    writer.join();
    ASSERT_TRUE(read.has_value());
    expectPoints("pipe read again", read->set, {0, 0.5, 1}, {1, 2, 0});
}

TEST_F(DataSetFileTest, FileAboveTheSizeLimitIsRefusedUnread)
{
    // Valid at the start: only the size can make it fail.
    const std::string atLimit = write("at limit.dsf", "1,a,2,3\n");
    std::filesystem::resize_file(fromUtf8(atLimit), 64u << 20);
    expectPoints("file at the limit", readFile(atLimit), {2}, {3});
    const std::string tooLarge = write("too large.dsf", "1,a,2,3\n");
    std::filesystem::resize_file(fromUtf8(tooLarge), (64u << 20) + 1);
    const DataSetRead read = readDataSetFile(tooLarge);
    EXPECT_FALSE(read.set.has_value());
    EXPECT_EQ(describeFailure(read.failure),
              "the file is too large for a data set (more than 64 MB)");
}


// Given points saved as a data set load back bit for bit: the extremes of a
// double, subnormals, negative zero, and values whose shortest text is not
// enough for a careless writer.
TEST(DataSetWriter, WritesTheCountThenRecordsNumberedFromZero)
{
    const std::vector<double> x = {0, 0.5, 1};
    const std::vector<double> y = {-2, 0.25, 1e300};
    EXPECT_EQ(dataSetText(x, y), "3\n0,0,-2\n1,0.5,0.25\n2,1,1.0000000000000001e+300\n");
}

TEST(DataSetWriter, WrittenPointsLoadBackBitForBit)
{
    const double big = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    std::vector<double> x = {0.0, -0.0, 0.1, 1.0 / 3, big, -big, tiny, 2.2250738585072014e-308,
                             5e-324, 0.30000000000000004, 1e22, 123456789012345678.0};
    std::vector<double> y;
    std::mt19937 rng(11);
    for (std::size_t i = 0; i < x.size(); ++i)
        y.push_back(std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng),
                               std::uniform_int_distribution<int>(-1070, 1023)(rng)));
    const std::string text = dataSetText(x, y);
    EXPECT_EQ(text.substr(0, text.find('\n')), std::to_string(x.size())) << "the count first";
    const DataSetRead read = parseDataSet(text);
    ASSERT_TRUE(read.set.has_value()) << text;
    ASSERT_EQ(read.set->count, static_cast<int>(x.size()));
    EXPECT_FALSE(read.set->itemsAfterLastRecord);
    for (std::size_t i = 0; i < x.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read.set->x[i]), std::bit_cast<std::uint64_t>(x[i]))
            << "x of point " << i << " written as " << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(read.set->y[i]), std::bit_cast<std::uint64_t>(y[i]))
            << "y of point " << i;
    }
}

}  // namespace
}  // namespace tarvel
