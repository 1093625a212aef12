// Parsing arbitrary bytes as a data-set file. A data set that comes back
// must fit the point arrays and hold only finite numbers; the result must
// not depend on what follows the last record, on the kind of line end nor on
// a UTF-8 byte-order mark; a refusal names a line of the text and reads as
// one line of valid UTF-8.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "data/dsf_reader.h"
#include "data/printable_text.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property, std::string_view text, const std::string& detail)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n  %s\n  text (%zu bytes): \"", property,
                 detail.c_str(), text.size());
    for (const char c : text.substr(0, 400)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\' && byte != '"')
            std::fputc(byte, stderr);
        else
            std::fprintf(stderr, "\\x%02x", byte);
    }
    std::fprintf(stderr, "%s\"\n", text.size() > 400 ? "..." : "");
    __builtin_trap();
}

void checkShape(const DataSet& set, std::string_view text)
{
    if (set.count < 0 || set.count > kPointCapacity)
        violated("0 <= count <= 1001", text, "count " + std::to_string(set.count));
    const auto count = static_cast<std::size_t>(set.count);
    if (set.x.size() != count || set.y.size() != count)
        violated("x and y hold count values", text,
                 "count " + std::to_string(count) + ", x " + std::to_string(set.x.size()) + ", y " +
                     std::to_string(set.y.size()));
    for (std::size_t i = 0; i < count; ++i)
        if (!std::isfinite(set.x[i]) || !std::isfinite(set.y[i]))
            violated("every value is finite", text,
                     "record " + std::to_string(i) + ": x " + std::to_string(set.x[i]) + ", y " +
                         std::to_string(set.y[i]));
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), sizeof(double) * a.size()) == 0);
}

bool sameResult(const std::optional<DataSet>& a, const std::optional<DataSet>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->count == b->count && sameBits(a->x, b->x) && sameBits(a->y, b->y));
}

std::string describe(const std::optional<DataSet>& set)
{
    return set ? "a data set of " + std::to_string(set->count) + " points" : "a refusal";
}

// Every LF becomes CR LF (an existing CR LF becomes CR CR LF, still only
// line ends between the same items).
std::string withCrLf(std::string_view text)
{
    std::string converted;
    converted.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n')
            converted.push_back('\r');
        converted.push_back(c);
    }
    return converted;
}

// Lines as an editor counts them: CR LF, LF and a lone CR each end one.
int lineCount(std::string_view text)
{
    int lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lines;
    return lines;
}

void checkFailure(const DataSetFailure& failure, std::string_view text)
{
    const bool wholeFile =
        failure.fault == DataSetFault::Empty || failure.fault == DataSetFault::Utf16 ||
        failure.fault == DataSetFault::TooLarge || failure.fault == DataSetFault::Unreadable ||
        failure.fault == DataSetFault::Missing || failure.fault == DataSetFault::NotAFile;
    if (wholeFile ? failure.line != 0 : failure.line < 1 || failure.line > lineCount(text))
        violated("a refusal names a line of the text", text,
                 "line " + std::to_string(failure.line) + " of " + std::to_string(lineCount(text)));
    // The isolates that set quoted right-to-left text apart are the only
    // characters printableText would write out.
    std::string reason = describeFailure(failure);
    for (const std::string_view isolate : {"\xE2\x81\xA8", "\xE2\x81\xA9"})
        for (std::size_t at; (at = reason.find(isolate)) != std::string::npos;)
            reason.erase(at, isolate.size());
    if (reason.empty() || printableText(reason, reason.size()) != reason)
        violated("the reason is one line of valid UTF-8 showing every character", text,
                 printableText(reason));
}

// The text arriving in two pieces, as from a pipe, cut at `cut`: the
// outcome is that of the whole text, given early only when certain.
void checkStream(std::string_view text, const DataSetRead& whole, std::size_t cut)
{
    DataSetStreamParser stream;
    std::optional<DataSetRead> read = stream.parse(text.substr(0, cut), false);
    if (!read)
        read = stream.parse(text, true);
    if (!read)
        violated("a stream that has ended has an outcome", text, "cut at " + std::to_string(cut));
    const bool sameFailure = !read->set && !whole.set &&
                             describeFailure(read->failure) == describeFailure(whole.failure);
    if (!sameResult(read->set, whole.set) || (!whole.set && !sameFailure))
        violated("a text read piece by piece gives the outcome of the whole text", text,
                 "cut at " + std::to_string(cut) + ": " + describe(whole.set) + " became " +
                     describe(read->set));
}

void checkText(std::string_view text)
{
    const DataSetRead read = parseDataSet(text);
    const std::optional<DataSet>& set = read.set;
    // A cut that depends on the text, so each input tries its own.
    checkStream(text, read,
                text.empty() ? 0 : static_cast<unsigned char>(text[0]) % (text.size() + 1));
    checkStream(text, read, text.size() / 2);
    if (set)
        checkShape(*set, text);
    else
        checkFailure(read.failure, text);

    const std::optional<DataSet> marked = parseDataSet("\xEF\xBB\xBF" + std::string(text)).set;
    if (!text.starts_with("\xEF\xBB\xBF") && !sameResult(set, marked))
        violated("a byte-order mark before the count changes nothing", text,
                 describe(set) + " became " + describe(marked));

    const std::optional<DataSet> crlf = parseDataSet(withCrLf(text)).set;
    if (!sameResult(set, crlf))
        violated("CR LF line ends read as LF line ends", text,
                 describe(set) + " became " + describe(crlf));

    if (set) {
        const std::string followed = std::string(text) + "\nnot, a, record\n\"open";
        const std::optional<DataSet> withTail = parseDataSet(followed).set;
        if (!sameResult(set, withTail))
            violated("anything after the last record is ignored", text,
                     describe(set) + " became " + describe(withTail));
    }
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarvel::checkText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
