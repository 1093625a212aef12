// Reading a data-set file (*.dsf).
//
// The text is a stream of items separated by commas or line ends. The loader
// takes the count, then count records of (label, x, y), and stops: whatever
// follows the last record is never looked at. Any fault makes the whole load
// fail, so a caller never sees a half-filled data set.
#include "data/dsf_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tarvel {

namespace {

// A file this large cannot be a data set of at most 1001 points; refusing it
// keeps a mistaken pick (a disk image, a video) from filling the memory.
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isSign(char c)
{
    return c == '+' || c == '-';
}

struct Item {
    std::string_view text;
    bool quoted = false;
};

// Splits the text into items on demand. Every step moves forward, so the
// whole text is read in linear time and never beyond its end.
class ItemReader {
public:
    explicit ItemReader(std::string_view text) : text_(text) {}

    // The next item, or nothing at the end of the text or on a malformed
    // item (an unterminated quote, stray text after a closing quote).
    std::optional<Item> next()
    {
        skipBlanksAndLineEnds();
        if (atEnd())
            return std::nullopt;
        std::optional<Item> item = peek() == '"' ? readQuoted() : readUnquoted();
        if (item)
            consumeSeparator();
        return item;
    }

private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    void skipBlanksAndLineEnds()
    {
        while (!atEnd() && (isBlank(peek()) || isLineEnd(peek())))
            ++pos_;
    }

    void skipBlanks()
    {
        while (!atEnd() && isBlank(peek()))
            ++pos_;
    }

    // A quoted item keeps commas and line ends; only the next quote ends it.
    std::optional<Item> readQuoted()
    {
        const std::size_t open = pos_;
        const std::size_t close = text_.find('"', open + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        pos_ = close + 1;
        skipBlanks();
        if (!atEnd() && peek() != ',' && !isLineEnd(peek()))
            return std::nullopt;
        return Item{text_.substr(open + 1, close - open - 1), true};
    }

    // An unquoted item runs to the next comma or line end; blanks before
    // that separator belong to the layout, not to the item.
    std::optional<Item> readUnquoted()
    {
        const std::size_t start = pos_;
        while (!atEnd() && peek() != ',' && !isLineEnd(peek()))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(text_[end - 1]))
            --end;
        return Item{text_.substr(start, end - start), false};
    }

    // One comma closes the item. A line end (LF, CR or CR LF) needs no
    // consuming here: the next item skips it with the other leading line
    // ends, so ",\n," still holds one empty item and "\n\n" none.
    void consumeSeparator()
    {
        if (!atEnd() && peek() == ',')
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// sign? digits [ '.' digits ] [ (e|E) sign? digits ], with at least one
// digit before the exponent. Anything else (hexadecimal, "inf", "nan",
// embedded blanks) is not a number of a data-set file.
bool hasNumberShape(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && isSign(s[i]))
        ++i;
    std::size_t mantissaDigits = 0;
    bool seenPeriod = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ++mantissaDigits;
        } else if (s[i] == '.' && !seenPeriod) {
            seenPeriod = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i == s.size())
        return true;
    if (s[i] != 'e' && s[i] != 'E')
        return false;
    ++i;
    if (i < s.size() && isSign(s[i]))
        ++i;
    const std::size_t exponentStart = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i > exponentStart && i == s.size();
}

// True when a well-shaped number that does not fit a double is too large
// rather than too small: its decimal order of magnitude is positive. Only
// the sign matters, since an out-of-range value is hundreds of orders away
// from 1; the exponent is clamped so that no digit string can overflow it.
bool isTooLarge(std::string_view s)
{
    constexpr std::int64_t kClamp = 1'000'000'000;
    std::size_t i = isSign(s[0]) ? 1 : 0;
    std::int64_t order = -1;  // of the first significant digit
    bool significant = false;
    bool afterPeriod = false;
    for (; i < s.size() && (isDigit(s[i]) || s[i] == '.'); ++i) {
        if (s[i] == '.') {
            afterPeriod = true;
        } else if (significant || s[i] != '0') {
            if (!afterPeriod)
                ++order;
            significant = true;
        } else if (afterPeriod) {
            --order;
        }
    }
    std::int64_t exponent = 0;
    if (i < s.size()) {
        ++i;  // e or E
        const bool negative = s[i] == '-';
        if (isSign(s[i]))
            ++i;
        for (; i < s.size(); ++i)
            exponent = std::min(kClamp, exponent * 10 + (s[i] - '0'));
        if (negative)
            exponent = -exponent;
    }
    return order + exponent > 0;
}

// Reads a number the same way in every locale, correctly rounded. A value
// too small for a double becomes a zero of its sign; one too large fails.
std::optional<double> parseNumber(const Item& item)
{
    if (item.quoted || !hasNumberShape(item.text))
        return std::nullopt;
    std::string_view digits = item.text;
    if (digits[0] == '+')
        digits.remove_prefix(1);  // from_chars takes no '+'
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (isTooLarge(item.text))
            return std::nullopt;
        return item.text[0] == '-' ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// The count is read like any number, then must be whole and fit the arrays
// of given points.
std::optional<int> parseCount(const Item& item)
{
    const std::optional<double> value = parseNumber(item);
    if (!value || *value < 0.0 || *value > kPointCapacity)
        return std::nullopt;
    if (std::floor(*value) != *value)
        return std::nullopt;
    return static_cast<int>(*value);
}

bool readRecord(ItemReader& reader, DataSet& set)
{
    if (!reader.next())
        return false;  // the label is never used
    const std::optional<Item> xItem = reader.next();
    if (!xItem)
        return false;
    const std::optional<double> x = parseNumber(*xItem);
    if (!x)
        return false;
    const std::optional<Item> yItem = reader.next();
    if (!yItem)
        return false;
    const std::optional<double> y = parseNumber(*yItem);
    if (!y)
        return false;
    set.x.push_back(*x);
    set.y.push_back(*y);
    return true;
}

std::filesystem::path pathFromUtf8(const std::string& utf8Path)
{
    std::u8string u8(utf8Path.size(), u8'\0');
    std::transform(utf8Path.begin(), utf8Path.end(), u8.begin(),
                   [](char c) { return static_cast<char8_t>(c); });
    return std::filesystem::path(u8);
}

// The whole file as bytes, or nothing when it is not a readable regular
// file of sane size. The size is checked again while reading, since the
// file may grow after it was measured.
std::optional<std::string> readFileBytes(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || error)
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes)
        return std::nullopt;

    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxFileBytes)
            return std::nullopt;
    }
    if (in.bad())
        return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<DataSet> parseDataSet(std::string_view text)
{
    ItemReader reader(text);
    const std::optional<Item> countItem = reader.next();
    if (!countItem)
        return std::nullopt;
    const std::optional<int> count = parseCount(*countItem);
    if (!count)
        return std::nullopt;

    DataSet set;
    set.count = *count;
    set.x.reserve(static_cast<std::size_t>(*count));
    set.y.reserve(static_cast<std::size_t>(*count));
    for (int i = 0; i < *count; ++i) {
        if (!readRecord(reader, set))
            return std::nullopt;
    }
    return set;
}

std::optional<DataSet> readDataSetFile(const std::string& utf8Path)
{
    const std::optional<std::string> bytes = readFileBytes(pathFromUtf8(utf8Path));
    if (!bytes)
        return std::nullopt;
    return parseDataSet(*bytes);
}

}  // namespace tarvel
