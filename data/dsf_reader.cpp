// Reading a data-set file (*.dsf).
//
// The text is a stream of items separated by commas or line ends. The loader
// takes the count, then count records of (label, x, y), and stops: whatever
// follows the last record is not read as items, only noticed in a file (a
// stream is left at its last record). Any fault makes the whole load fail,
// so a caller never sees a half-filled data set; the failure names the line
// and the item, for a user to mend the file.
#include "data/dsf_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/file_source.h"
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

enum class Step { Item, End, QuoteNotClosed, TextAfterQuote, NeedMore };

struct Next {
    Step step = Step::End;
    Item item;
};

constexpr std::string_view kSeparators = ",\n\r";

// Splits the text into items on demand. Every step moves forward, so the
// whole text is read in linear time and never beyond its end. While more
// text may follow, an item that reaches the end of the text so far is not
// complete: the reader answers NeedMore, stays before it and remembers how
// far it looked, so the next, longer text is not searched again.
class ItemReader {
public:
    // The text so far (each one begins as the last did); `ended` when no
    // more will follow.
    void extend(std::string_view text, bool ended)
    {
        text_ = text;
        ended_ = ended;
    }

    // The next item, the end of the text, or a malformed item (a quote
    // that is never closed, stray text after a closing quote).
    Next next()
    {
        skipBlanksAndLineEnds();
        if (atEnd())
            return {ended_ ? Step::End : Step::NeedMore, {{}, false, pos_}};
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

    // Where the search of the item that starts at `start` goes on.
    std::size_t searchFrom(std::size_t start) const
    {
        return start == waitingItem_ ? searchedTo_ : start;
    }

    Next needMore(std::size_t start, std::size_t searchedTo)
    {
        pos_ = start;
        waitingItem_ = start;
        searchedTo_ = searchedTo;
        return {Step::NeedMore, {}};
    }

    // The end of an item that has no closing quote to look for: the next
    // separator, or the end of a text that has ended.
    std::optional<std::size_t> separatorFrom(std::size_t from) const
    {
        const std::size_t end = text_.find_first_of(kSeparators, from);
        if (end != std::string_view::npos)
            return end;
        if (ended_)
            return text_.size();
        return std::nullopt;
    }

    // A quoted item keeps commas and line ends; only the next quote ends it.
    Next readQuoted()
    {
        const std::size_t open = pos_;
        const std::size_t close = text_.find('"', std::max(open + 1, searchFrom(open)));
        if (close == std::string_view::npos) {
            if (!ended_)
                return needMore(open, text_.size());
            return {Step::QuoteNotClosed, {text_.substr(open), true, open}};
        }
        pos_ = close + 1;
        skipBlanks();
        if (atEnd() && !ended_)
            return needMore(open, close);
        if (!atEnd() && peek() != ',' && !isLineEnd(peek())) {
            const std::optional<std::size_t> end = separatorFrom(pos_);
            if (!end)
                return needMore(open, close);
            return {Step::TextAfterQuote, {text_.substr(open, *end - open), true, open}};
        }
        return {Step::Item, {text_.substr(open + 1, close - open - 1), true, open}};
    }

    // An unquoted item runs to the next comma or line end; blanks before
    // that separator belong to the layout, not to the item.
    Next readUnquoted()
    {
        const std::size_t start = pos_;
        const std::optional<std::size_t> separator = separatorFrom(searchFrom(start));
        if (!separator)
            return needMore(start, text_.size());
        pos_ = *separator;
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
    bool ended_ = true;
    std::size_t pos_ = 0;
    std::size_t waitingItem_ = std::string_view::npos;  // start of the item that needed more
    std::size_t searchedTo_ = 0;
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

}  // namespace

// Reads the items of one file as they arrive and remembers where the last
// one began, so a fault can name its line. It takes one whole item at a
// time: the count, then label, x and y of every record.
class DataSetStreamParser::Parser {
public:
    std::optional<DataSetRead> parse(std::string_view text, bool ended)
    {
        if (stage_ == Stage::ByteOrderMark) {
            constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
            if (!ended && text.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(text))
                return std::nullopt;
            skipped_ = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
            stage_ = Stage::Count;
        }
        text_ = text.substr(skipped_);
        reader_.extend(text_, ended);
        if (stage_ == Stage::Count &&
            (text_.starts_with("\xFF\xFE") || text_.starts_with("\xFE\xFF")))
            return failAt(DataSetFault::Utf16, 0, {});
        while (stage_ != Stage::Done) {
            const Next next = reader_.next();
            if (next.step == Step::NeedMore)
                return std::nullopt;
            if (!take(next))
                return result_;
        }
        // A stream is read no further than its last record.
        set_.itemsAfterLastRecord = ended && !reader_.onlyLayoutLeft();
        result_.set = std::move(set_);
        return result_;
    }

private:
    enum class Stage { ByteOrderMark, Count, Label, X, Y, Done };

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
        case Step::NeedMore:
            break;
        }
        return false;
    }

    bool readValue(const Next& next, ItemRole role, double& value)
    {
        if (!itemRead(next, role))
            return false;
        if (const std::optional<DataSetFault> fault = parseNumber(next.item, value)) {
            failAt(*fault, next.item.start, quoted(next.item));
            return false;
        }
        return true;
    }

    bool readCount(const Next& next)
    {
        if (next.step == Step::End) {
            failAt(DataSetFault::Empty, 0, {});
            return false;
        }
        if (!itemRead(next, ItemRole::Count))
            return false;
        double value = 0;
        if (parseNumber(next.item, value) || value < 0.0 || value > kPointCapacity ||
            std::floor(value) != value) {
            failAt(DataSetFault::BadCount, next.item.start, quoted(next.item));
            return false;
        }
        set_.count = static_cast<int>(value);
        failure_.announced = set_.count;
        set_.x.reserve(static_cast<std::size_t>(set_.count));
        set_.y.reserve(static_cast<std::size_t>(set_.count));
        return true;
    }

    // Takes one whole item into the data set; false, with the failure set,
    // when it cannot be used.
    bool take(const Next& next)
    {
        switch (stage_) {
        case Stage::Count:
            if (!readCount(next))
                return false;
            break;
        case Stage::Label:
            failure_.point = static_cast<int>(set_.x.size());
            if (!itemRead(next, ItemRole::Label))
                return false;  // the label itself is never used
            break;
        case Stage::X:
            if (!readValue(next, ItemRole::X, x_))
                return false;
            break;
        case Stage::Y: {
            double y = 0;
            if (!readValue(next, ItemRole::Y, y))
                return false;
            set_.x.push_back(x_);
            set_.y.push_back(y);
            break;
        }
        case Stage::ByteOrderMark:
        case Stage::Done:
            break;
        }
        stage_ = following();
        return true;
    }

    Stage following() const
    {
        const bool complete = static_cast<int>(set_.y.size()) == set_.count;
        switch (stage_) {
        case Stage::Label:
            return Stage::X;
        case Stage::X:
            return Stage::Y;
        case Stage::Count:
        case Stage::Y:
            return complete ? Stage::Done : Stage::Label;
        case Stage::ByteOrderMark:
        case Stage::Done:
            break;
        }
        return Stage::Done;
    }

    Stage stage_ = Stage::ByteOrderMark;
    std::size_t skipped_ = 0;  // bytes of a byte-order mark before the count
    std::string_view text_;
    ItemReader reader_;
    DataSet set_;
    double x_ = 0;  // of the record being read
    DataSetFailure failure_;
    DataSetRead result_;
    std::size_t lastItemStart_ = 0;
};

DataSetStreamParser::DataSetStreamParser() : parser_(std::make_unique<Parser>()) {}
DataSetStreamParser::~DataSetStreamParser() = default;

std::optional<DataSetRead> DataSetStreamParser::parse(std::string_view text, bool ended)
{
    return parser_->parse(text, ended);
}

namespace {

DataSetRead failedRead(DataSetFault fault, std::string reason = {})
{
    DataSetRead read;
    read.failure.fault = fault;
    read.failure.item = std::move(reason);
    return read;
}

// The failure when the path is not a readable regular file or named pipe
// of sane size. The size is checked again while reading, since the file may
// grow after it was measured (and a pipe has none).
std::optional<DataSetRead> refusedUnread(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return failedRead(DataSetFault::Missing);
    if (error)
        return failedRead(DataSetFault::Unreadable, error.message());
    if (status.type() == std::filesystem::file_type::fifo)
        return std::nullopt;
    if (status.type() != std::filesystem::file_type::regular)
        return failedRead(DataSetFault::NotAFile);
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return failedRead(DataSetFault::Unreadable, error.message());
    if (size > kMaxFileBytes)
        return failedRead(DataSetFault::TooLarge);
    return std::nullopt;
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
    return "'" + isolatedText(item, 40) + "'";
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
    return *DataSetStreamParser().parse(text, true);
}

DataSetRead readDataSetFile(const std::filesystem::path& path)
{
    const std::atomic<bool> never(false);
    return readDataSetFile(path, never);
}

// A regular file is read whole, so the note on items after the last record
// tells the truth; a stream is parsed as it arrives and left as soon as its
// last record is complete, since its writer may go on for ever.
DataSetRead readDataSetFile(const std::filesystem::path& path, const std::atomic<bool>& cancelled)
{
    if (std::optional<DataSetRead> refused = refusedUnread(path))
        return *refused;
    FileSource source(path);
    if (!source.isOpen())
        return failedRead(DataSetFault::Unreadable, source.error());
    DataSetStreamParser parser;
    std::string bytes;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const FileSource::Chunk read = source.read(chunk.data(), chunk.size(), cancelled);
        if (read.status == FileSource::Status::Cancelled)
            return failedRead(DataSetFault::Cancelled);
        if (read.status == FileSource::Status::Failed)
            return failedRead(DataSetFault::Unreadable, source.error());
        bytes.append(chunk.data(), read.size);
        if (bytes.size() > kMaxFileBytes)
            return failedRead(DataSetFault::TooLarge);
        const bool ended = read.status == FileSource::Status::End;
        if (ended || source.isStream())
            if (std::optional<DataSetRead> outcome = parser.parse(bytes, ended))
                return *outcome;
    }
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
    case DataSetFault::Cancelled:
        reason = "the reading was cancelled";
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
