// Reading a data-set file (*.dsf).
//
// The text is a stream of items separated by commas or line ends. The loader
// takes the count, then count records of (label, x, y), and stops: whatever
// follows the last record is not read as items, only noticed. Any fault
// makes the whole load fail, so a caller never sees a half-filled data set;
// the failure names the line and the item, for a user to mend the file.
#include "data/dsf_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <variant>
#include <vector>

#include "data/numeric_text.h"
#include "data/printable_text.h"

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
    std::size_t start = 0;  // offset of its first character in the text
};

enum class Step { Item, End, QuoteNotClosed, TextAfterQuote };

struct Next {
    Step step = Step::End;
    Item item;
};

// Splits the text into items on demand. Every step moves forward, so the
// whole text is read in linear time and never beyond its end.
class ItemReader {
public:
    explicit ItemReader(std::string_view text) : text_(text) {}

    // The next item, the end of the text, or a malformed item (a quote
    // that is never closed, stray text after a closing quote).
    Next next()
    {
        skipBlanksAndLineEnds();
        if (atEnd())
            return {Step::End, {{}, false, pos_}};
        Next read = peek() == '"' ? readQuoted() : readUnquoted();
        if (read.step == Step::Item)
            consumeSeparator();
        return read;
    }

    // Only blanks and line ends are left.
    bool onlyLayoutLeft()
    {
        skipBlanksAndLineEnds();
        return atEnd();
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
    Next readQuoted()
    {
        const std::size_t open = pos_;
        const std::size_t close = text_.find('"', open + 1);
        if (close == std::string_view::npos)
            return {Step::QuoteNotClosed, {text_.substr(open), true, open}};
        pos_ = close + 1;
        skipBlanks();
        if (!atEnd() && peek() != ',' && !isLineEnd(peek())) {
            std::size_t end = pos_;
            while (end < text_.size() && text_[end] != ',' && !isLineEnd(text_[end]))
                ++end;
            return {Step::TextAfterQuote, {text_.substr(open, end - open), true, open}};
        }
        return {Step::Item, {text_.substr(open + 1, close - open - 1), true, open}};
    }

    // An unquoted item runs to the next comma or line end; blanks before
    // that separator belong to the layout, not to the item.
    Next readUnquoted()
    {
        const std::size_t start = pos_;
        while (!atEnd() && peek() != ',' && !isLineEnd(peek()))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(text_[end - 1]))
            --end;
        return {Step::Item, {text_.substr(start, end - start), false, start}};
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

// The line (from 1) that holds offset `at`; CR LF, LF and a lone CR each
// end one line. Only worked out for a fault, so a pass over the text is fine.
int lineAt(std::string_view text, std::size_t at)
{
    int line = 1;
    for (std::size_t i = 0; i < at && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    }
    return line;
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
// Returns the fault when the item is not a number.
std::optional<DataSetFault> parseNumber(const Item& item, double& value)
{
    if (item.quoted)
        return DataSetFault::QuotedNumber;
    if (item.text.empty())
        return DataSetFault::EmptyItem;
    if (!hasNumberShape(item.text))
        return DataSetFault::NotANumber;
    std::string_view digits = item.text;
    if (digits[0] == '+')
        digits.remove_prefix(1);  // from_chars takes no '+'
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (isTooLarge(item.text))
            return DataSetFault::NumberTooLarge;
        value = item.text[0] == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (error != std::errc() || end != digits.data() + digits.size())
        return DataSetFault::NotANumber;
    if (!std::isfinite(value))
        return DataSetFault::NumberTooLarge;
    return std::nullopt;
}

// Reads the items of one file and remembers where the last one began, so a
// fault can name its line.
class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), reader_(text) {}

    DataSetRead run()
    {
        if (text_.starts_with("\xFF\xFE") || text_.starts_with("\xFE\xFF"))
            return failAt(DataSetFault::Utf16, 0, {});
        Next count = reader_.next();
        if (count.step == Step::End)
            return failAt(DataSetFault::Empty, 0, {});
        if (!itemRead(count, ItemRole::Count))
            return result_;
        double value = 0;
        if (parseNumber(count.item, value) || value < 0.0 || value > kPointCapacity ||
            std::floor(value) != value)
            return failAt(DataSetFault::BadCount, count.item.start, quoted(count.item));
        set_.count = static_cast<int>(value);
        failure_.announced = set_.count;
        set_.x.reserve(static_cast<std::size_t>(set_.count));
        set_.y.reserve(static_cast<std::size_t>(set_.count));
        for (int i = 0; i < set_.count; ++i) {
            failure_.point = i;
            if (!readRecord())
                return result_;
        }
        set_.itemsAfterLastRecord = !reader_.onlyLayoutLeft();
        result_.set = std::move(set_);
        return result_;
    }

private:
    static std::string quoted(const Item& item)
    {
        if (!item.quoted)
            return std::string(item.text);
        return "\"" + std::string(item.text) + "\"";
    }

    DataSetRead& failAt(DataSetFault fault, std::size_t at, std::string item)
    {
        failure_.fault = fault;
        failure_.line =
            fault == DataSetFault::Empty || fault == DataSetFault::Utf16 ? 0 : lineAt(text_, at);
        failure_.item = std::move(item);
        result_.failure = failure_;
        return result_;
    }

    // False, with the failure set, unless an item was read.
    bool itemRead(const Next& next, ItemRole role)
    {
        failure_.role = role;
        switch (next.step) {
        case Step::Item:
            lastItemStart_ = next.item.start;
            return true;
        case Step::End:
            failAt(DataSetFault::FileEnds, lastItemStart_, {});
            return false;
        case Step::QuoteNotClosed:
            failAt(DataSetFault::QuoteNotClosed, next.item.start, std::string(next.item.text));
            return false;
        case Step::TextAfterQuote:
            failAt(DataSetFault::TextAfterQuote, next.item.start, std::string(next.item.text));
            return false;
        }
        return false;
    }

    bool readValue(ItemRole role, double& value)
    {
        const Next next = reader_.next();
        if (!itemRead(next, role))
            return false;
        if (const std::optional<DataSetFault> fault = parseNumber(next.item, value)) {
            failAt(*fault, next.item.start, quoted(next.item));
            return false;
        }
        return true;
    }

    bool readRecord()
    {
        if (!itemRead(reader_.next(), ItemRole::Label))
            return false;  // the label itself is never used
        double x = 0;
        double y = 0;
        if (!readValue(ItemRole::X, x) || !readValue(ItemRole::Y, y))
            return false;
        set_.x.push_back(x);
        set_.y.push_back(y);
        return true;
    }

    std::string_view text_;
    ItemReader reader_;
    DataSet set_;
    DataSetFailure failure_;
    DataSetRead result_;
    std::size_t lastItemStart_ = 0;
};

// The whole file as bytes, or the failure when it is not a readable regular
// file or named pipe of sane size. The size is checked again while reading,
// since the file may grow after it was measured (and a pipe has none).
std::variant<std::string, DataSetFailure> readFileBytes(const std::filesystem::path& path)
{
    const auto failure = [](DataSetFault fault, std::string reason = {}) {
        DataSetFailure f;
        f.fault = fault;
        f.item = std::move(reason);
        return f;
    };
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return failure(DataSetFault::Missing);
    if (error)
        return failure(DataSetFault::Unreadable, error.message());
    const bool pipe = status.type() == std::filesystem::file_type::fifo;
    if (status.type() != std::filesystem::file_type::regular && !pipe)
        return failure(DataSetFault::NotAFile);
    std::uintmax_t size = 0;
    if (!pipe) {
        size = std::filesystem::file_size(path, error);
        if (error)
            return failure(DataSetFault::Unreadable, error.message());
        if (size > kMaxFileBytes)
            return failure(DataSetFault::TooLarge);
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure(DataSetFault::Unreadable,
                       errno != 0 ? std::generic_category().message(errno) : std::string());
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    std::vector<char> chunk(64 * 1024);
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxFileBytes)
            return failure(DataSetFault::TooLarge);
    }
    if (in.bad())
        return failure(DataSetFault::Unreadable);
    return bytes;
}

const char* roleName(ItemRole role)
{
    switch (role) {
    case ItemRole::Count:
        return "the number of points";
    case ItemRole::Label:
        return "the label";
    case ItemRole::X:
        return "the x";
    case ItemRole::Y:
        return "the y";
    }
    return "";
}

// "the y of point 2", "the number of points".
std::string itemName(const DataSetFailure& f)
{
    std::string name = roleName(f.role);
    if (f.role != ItemRole::Count)
        name += " of point " + std::to_string(f.point);
    return name;
}

std::string quote(const std::string& item)
{
    return "'" + printableText(item, 40) + "'";
}

// Semicolons, tabs and blanks between numbers are the usual ways a file
// from another program separates its items.
bool looksLikeOtherSeparators(std::string_view item)
{
    return item.find_first_of(";\t ") != std::string_view::npos;
}

std::string missingItems(ItemRole role)
{
    switch (role) {
    case ItemRole::Label:
        return "";
    case ItemRole::X:
        return "its x and y";
    case ItemRole::Y:
        return "its y";
    case ItemRole::Count:
        break;
    }
    return "";
}

}  // namespace

DataSetRead parseDataSet(std::string_view text)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    return Parser(text).run();
}

DataSetRead readDataSetFile(const std::filesystem::path& path)
{
    std::variant<std::string, DataSetFailure> bytes = readFileBytes(path);
    if (auto* failure = std::get_if<DataSetFailure>(&bytes)) {
        DataSetRead read;
        read.failure = std::move(*failure);
        return read;
    }
    return parseDataSet(std::get<std::string>(bytes));
}

std::string describeFailure(const DataSetFailure& f)
{
    std::string reason;
    switch (f.fault) {
    case DataSetFault::Unreadable:
        reason = "the file cannot be read";
        if (!f.item.empty())
            reason += " (" + printableText(f.item, 80) + ")";
        break;
    case DataSetFault::Missing:
        reason = "the file no longer exists";
        break;
    case DataSetFault::NotAFile:
        reason = "this is not a file that can be read";
        break;
    case DataSetFault::TooLarge:
        reason = "the file is too large for a data set (more than " +
                 std::to_string(kMaxFileBytes / (1024 * 1024)) + " MB)";
        break;
    case DataSetFault::Utf16:
        reason = "the file is UTF-16 text; a data set is plain text (ASCII or UTF-8)";
        break;
    case DataSetFault::Empty:
        reason = "the file is empty";
        break;
    case DataSetFault::BadCount:
        reason = quote(f.item) + " is not a whole number of points from 0 to " +
                 std::to_string(kPointCapacity);
        break;
    case DataSetFault::FileEnds:
        if (f.role == ItemRole::Label)
            reason = "the file holds " + std::to_string(f.point) + " point" +
                     (f.point == 1 ? "" : "s") + " but announces " + std::to_string(f.announced);
        else
            reason = "the file ends inside point " + std::to_string(f.point) + ", which lacks " +
                     missingItems(f.role);
        break;
    case DataSetFault::EmptyItem:
        reason = itemName(f) + " is empty";
        break;
    case DataSetFault::NotANumber:
        reason = quote(f.item) + " is not a number (" + itemName(f) + ")";
        if (looksLikeOtherSeparators(f.item))
            reason += "; items are separated by commas or line ends";
        break;
    case DataSetFault::QuotedNumber:
        reason = quote(f.item) + " is not a number (" + itemName(f) +
                 "); numbers are written without quotes";
        break;
    case DataSetFault::NumberTooLarge:
        reason = quote(f.item) + " is too large for a number (" + itemName(f) + ")";
        break;
    case DataSetFault::QuoteNotClosed:
        reason = "the quote that opens " + itemName(f) + " is never closed";
        break;
    case DataSetFault::TextAfterQuote:
        reason = quote(f.item) + " has text after its closing quote (" + itemName(f) + ")";
        break;
    }
    return f.line > 0 ? "line " + std::to_string(f.line) + ": " + reason : reason;
}

}  // namespace tarvel
