// The number patterns of the list and of messages.
//
// A value is first written with 15 significant decimal digits, the number a
// person would read: 3 * (1/10) is 0.300000000000000 then, although the
// double lies a little above 0.3. All rounding after that is done on those
// decimal digits, so a value that reads as a half (0.03125, or 43 * (1/160),
// stored a hair below 0.26875) rounds away from zero as on paper. Writing
// goes through std::to_chars, which ignores the C locale; the separator is
// the one the caller passes.
#include "data/list_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvel {
namespace {

constexpr int kSignificantDigits = 15;
constexpr std::size_t kListDecimals = 4;

// A finite value in decimal writing, split at the decimal point. `whole`
// has at least one digit and no leading zero unless it is "0".
struct DecimalText {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

// Splits 15 significant digits d0 d1 ... d14, meaning d0.d1...d14 times
// 10^exponent, at the decimal point.
DecimalText placeDecimalPoint(bool negative, const std::string& digits, int exponent)
{
    DecimalText text;
    text.negative = negative;
    const int wholeCount = exponent + 1;
    const int digitCount = static_cast<int>(digits.size());
    if (wholeCount <= 0) {
        text.whole = "0";
        text.fraction = std::string(static_cast<std::size_t>(-wholeCount), '0') + digits;
    } else if (wholeCount >= digitCount) {
        text.whole = digits + std::string(static_cast<std::size_t>(wholeCount - digitCount), '0');
    } else {
        text.whole = digits.substr(0, static_cast<std::size_t>(wholeCount));
        text.fraction = digits.substr(static_cast<std::size_t>(wholeCount));
    }
    return text;
}

// The significant digits of a value and the power of ten of the first.
struct ScientificDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// Plain writing in messages from 1e-12 up to below 1e21; scientific beyond.
constexpr int kPlainMinExponent = -12;
constexpr int kPlainMaxExponent = 20;

// The value with `count` significant digits, as "%.(count-1)e" would write
// it.
ScientificDigits scientificDigits(double value, int count)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, count - 1);
    // The text is "[-]d.ddddddddddddddde(+|-)dd[d]".
    const std::string_view scientific(buffer.data(),
                                      static_cast<std::size_t>(result.ptr - buffer.data()));
    const bool negative = scientific.front() == '-';
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (const char c : scientific.substr(0, exponentMark)) {
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
        }
    }
    std::string_view exponentText = scientific.substr(exponentMark + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    return {negative, digits, negativeExponent ? -exponent : exponent};
}

bool isAllZeros(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

void dropTrailingZeros(std::string& fraction)
{
    const std::size_t lastNonZero = fraction.find_last_not_of('0');
    fraction.resize(lastNonZero == std::string::npos ? 0 : lastNonZero + 1);
}

// A zero, however it came about, is written without a sign.
std::string joinDecimal(const DecimalText& text, std::string_view decimalSeparator)
{
    const bool isZero = isAllZeros(text.whole) && isAllZeros(text.fraction);
    std::string joined = (text.negative && !isZero) ? "-" : "";
    joined += text.whole;
    if (!text.fraction.empty()) {
        joined += decimalSeparator;
        joined += text.fraction;
    }
    return joined;
}

// The list patterns are written often (four values a row, a row per
// interval), so they build the text in place, without the intermediate
// strings above: from the bits of the value where that is safe (see
// roundFromBits), otherwise from the digit characters.

// A finite value with 15 significant digits, as "%.14e" writes it:
// d0.d1...d14 times 10^exponent.
struct Significand {
    bool negative = false;
    std::array<char, 20> digits;  // as read (up to 17), d0..d14 once rounded
    int exponent = 0;
};

// Reads "[-]d[.ddd]e(+|-)dd[d]" into s; returns the number of digits.
int readScientific(const char* p, const char* end, Significand& s)
{
    s.negative = *p == '-';
    p += s.negative ? 1 : 0;
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            s.digits[static_cast<std::size_t>(count++)] = *p;
        }
    }
    ++p;
    const bool negativeExponent = *p == '-';
    int exponent = 0;
    for (++p; p < end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    s.exponent = negativeExponent ? -exponent : exponent;
    return count;
}

// The 15 digits are those of the shortest text that reads back as the
// value, rounded to 15 when it is longer: that text lies within half a unit
// of the value's last bit, far closer than the 15-digit steps, so no
// rounding boundary of 15 digits separates the two. The one exception is
// the shortest text being the boundary itself (16 digits ending in 5); then
// the digits come from the exact value.
Significand significandOf(double value)
{
    std::array<char, 32> buffer;
    const auto shortest = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                        std::chars_format::scientific);
    Significand s;
    int count = readScientific(buffer.data(), shortest.ptr, s);
    if (count == kSignificantDigits + 1 && s.digits[kSignificantDigits] == '5') {
        const auto exact = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::scientific, kSignificantDigits - 1);
        count = readScientific(buffer.data(), exact.ptr, s);
    }
    const bool roundsUp = count > kSignificantDigits && s.digits[kSignificantDigits] >= '5';
    for (int k = count; k < kSignificantDigits; ++k) {
        s.digits[static_cast<std::size_t>(k)] = '0';
    }
    if (roundsUp) {
        int k = kSignificantDigits - 1;
        for (; k >= 0 && s.digits[static_cast<std::size_t>(k)] == '9'; --k) {
            s.digits[static_cast<std::size_t>(k)] = '0';
        }
        if (k >= 0) {
            ++s.digits[static_cast<std::size_t>(k)];
        } else {
            s.digits[0] = '1';  // 9.99...9 became 10.00...0
            ++s.exponent;
        }
    }
    return s;
}

// The first `count` digits as an integer.
std::uint64_t leadingDigits(const Significand& s, int count)
{
    std::uint64_t number = 0;
    for (int k = 0; k < count; ++k) {
        number =
            number * 10 + static_cast<std::uint64_t>(s.digits[static_cast<std::size_t>(k)] - '0');
    }
    return number;
}

// |value| * 10^decimals rounded halves away from zero on the 15 digits,
// followed by `zeros` zeros where the 15 digits end before the decimals.
struct Rounded {
    bool minus = false;  // negative and not rounded to zero
    std::uint64_t scaled = 0;
    int zeros = 0;
};

// Most values are rounded straight from their bits. magnitude * 10^decimals
// is split exactly into p + e (two doubles), so its whole part and its
// fraction are known to far better than the margin below. Reading 15 digits
// first moves the value by at most half a unit of its 15th digit, less than
// magnitude * 10^-14 / 2; unless that could carry the fraction across a
// half, rounding the value itself gives what rounding its 15 digits gives.
// `settled` is false where it could (then the digits decide), where the
// value is 2^39 or more or the scaled value 2^52 or more, and for
// infinities and NaN. No branch depends on
// the value, so that a listing's values are rounded one after another
// without waiting on each other.
struct BitsRounding {
    Rounded rounded;
    bool settled = false;
};

inline BitsRounding roundFromBits(double value, std::size_t decimals)
{
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    const double scale = kScale[decimals];  // at most 14 bits
    const double magnitude = std::fabs(value);
    // magnitude = high + low, high with 26 significant bits and low with at
    // most 27: both products with the scale are exact, and so is the error
    // of their sum.
    const double high = std::bit_cast<double>(std::bit_cast<std::uint64_t>(magnitude) &
                                              ~((std::uint64_t{1} << 27) - 1));
    const double low = magnitude - high;
    const double highScaled = high * scale;
    const double lowScaled = low * scale;
    const double p = highScaled + lowScaled;
    const double e = (highScaled - p) + lowScaled;
    // Below 2^52, adding 2^52 rounds p to the nearest whole number, which
    // then stands in the low bits.
    constexpr double kWholeShift = 0x1p52;
    const double shifted = p + kWholeShift;
    const double nearest = shifted - kWholeShift;
    const double fraction = (p - nearest) + e;  // from -1/2 to 1/2, give or take e
    const double margin = magnitude * scale * 1e-14 + 1e-15;
    BitsRounding result;
    result.settled =
        (magnitude < 0x1p39) & (p < kWholeShift) & (std::fabs(std::fabs(fraction) - 0.5) > margin);
    result.rounded.scaled =
        std::bit_cast<std::uint64_t>(shifted) - std::bit_cast<std::uint64_t>(kWholeShift);
    // NaN and values of 2^52 and more are not settled, so the sign may be
    // read from the double comparisons alone.
    result.rounded.minus = (value < 0) & (nearest != 0);
    return result;
}

// From the 15 digits, for the values that roundFromBits leaves unsettled.
Rounded roundFromDigits(double value, std::size_t decimals)
{
    const Significand s = significandOf(value);
    Rounded rounded;
    // The digits that stay, counted from d0: those before the point and
    // `decimals` after it, rounded on the first dropped digit.
    const int kept = s.exponent + 1 + static_cast<int>(decimals);
    if (kept >= kSignificantDigits) {
        rounded.scaled = leadingDigits(s, kSignificantDigits);
        rounded.zeros = kept - kSignificantDigits;
    } else if (kept >= 0) {
        rounded.scaled = leadingDigits(s, kept);
        if (s.digits[static_cast<std::size_t>(kept)] >= '5') {
            ++rounded.scaled;  // a half or more, away from zero
        }
    }
    rounded.minus = s.negative && rounded.scaled != 0;
    return rounded;
}

constexpr std::uint64_t kPowersOfTen[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000,
                                          10000000000000000};

// The short texts are written four digits at a time from a table, with
// fixed-width stores, and without a branch on the sign or on the length of
// the usual numbers: listed values vary in both at random, which a
// processor would mispredict.

// Digits of number, at least one, for number below 10^16.
int digitCount(std::uint64_t number)
{
    const std::uint64_t nonZero = number | 1;
    // floor(log10(2) * bits), with log10(2) taken as 1233 / 4096.
    const int guess = (static_cast<int>(std::bit_width(nonZero)) * 1233) >> 12;
    return guess + (nonZero >= kPowersOfTen[guess] ? 1 : 0);
}

// "0000" to "9999" as four characters each, the first in the lowest byte.
constexpr std::array<std::uint32_t, 10000> kFourDigits = [] {
    std::array<std::uint32_t, 10000> table{};
    for (std::uint32_t n = 0; n < 10000; ++n) {
        table[n] = (0x30U + n / 1000) | ((0x30U + n / 100 % 10) << 8) |
                   ((0x30U + n / 10 % 10) << 16) | ((0x30U + n % 10) << 24);
    }
    return table;
}();

void storeBytes(char* out, std::uint64_t bytes)
{
    if constexpr (std::endian::native == std::endian::big) {
        bytes = __builtin_bswap64(bytes);
    }
    std::memcpy(out, &bytes, sizeof bytes);
}

// Eight digits of number, with leading zeros, as characters: those from
// 10^(4 * group + 4) down, the first in the lowest byte.
std::uint64_t eightDigits(std::uint64_t number, int group)
{
    constexpr std::uint64_t kTenThousand = 10000;
    for (int k = 0; k < group; ++k) {
        number /= kTenThousand * kTenThousand;
    }
    const auto high = static_cast<std::uint32_t>(number / kTenThousand % kTenThousand);
    const auto low = static_cast<std::uint32_t>(number % kTenThousand);
    return kFourDigits[high] | (static_cast<std::uint64_t>(kFourDigits[low]) << 32);
}

// Writes number (below 10^16) without leading zeros from w on and returns
// the end; may write up to kWholeRoom bytes from w.
constexpr std::size_t kWholeRoom = 16;
char* writeWhole(char* w, std::uint64_t number)
{
    const int count = digitCount(number);
    if (count <= 4) {  // indices and most listed values
        storeBytes(w, kFourDigits[number] >> (8 * (4 - count)));
        return w + count;
    }
    if (count <= 8) {
        storeBytes(w, eightDigits(number, 0) >> (8 * (8 - count)));
        return w + count;
    }
    storeBytes(w, eightDigits(number, 1) >> (8 * (16 - count)));
    storeBytes(w + count - 8, eightDigits(number, 0));
    return w + count;
}

// The decimal separator padded to a fixed width, so that it is copied in
// one piece.
struct Separator {
    static constexpr std::size_t kWidth = 8;
    explicit Separator(std::string_view whole) : text(whole)
    {
        if (fits()) {
            std::memcpy(bytes.data(), whole.data(), whole.size());
        }
    }
    bool fits() const { return text.size() <= kWidth; }
    std::string_view text;
    std::array<char, kWidth> bytes{};
};

// Sign, whole digits (16 at most without zeros after the 15 digits),
// separator and decimals, with the fixed-width writes of each.
constexpr std::size_t kShortRoom = 1 + 16 + Separator::kWidth + 8;

bool fitsShort(const Rounded& rounded, const Separator& separator)
{
    return rounded.zeros == 0 && separator.fits();
}

// Writes a short text with no decimals or kListDecimals of them from w on
// and returns its end.
char* writeShort(char* w, const Rounded& rounded, std::size_t decimals, const Separator& separator)
{
    static_assert(kListDecimals == 4, "the decimals are one entry of the four-digit table");
    *w = '-';
    w += rounded.minus ? 1 : 0;
    if (decimals == 0) {
        return writeWhole(w, rounded.scaled);
    }
    w = writeWhole(w, rounded.scaled / 10000);
    std::memcpy(w, separator.bytes.data(), Separator::kWidth);
    w += separator.text.size();
    storeBytes(w, kFourDigits[rounded.scaled % 10000]);
    return w + 4;
}

// The rare long texts: values of 1e11 and more (the 15 digits end before
// the decimals and zeros follow) or an unusually long separator.
std::string writeLong(const Rounded& rounded, std::size_t decimals, const Separator& separator)
{
    std::string digits = std::to_string(rounded.scaled);
    digits.append(static_cast<std::size_t>(rounded.zeros), '0');
    if (digits.size() <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    const std::size_t wholeCount = digits.size() - decimals;
    std::string text = rounded.minus ? "-" : "";
    text.append(digits, 0, wholeCount);
    if (decimals > 0) {
        text.append(separator.text);
        text.append(digits, wholeCount, decimals);
    }
    return text;
}

// A listing's values rounded ahead of writing, field by field in arrays of
// their own, so that the loop over the values rounds several at once. The
// flags are kept as 0.0 and 1.0: the baseline instruction set compares
// doubles in pairs but cannot turn a comparison into a 64-bit integer.
class RoundedBatch {
public:
    static constexpr std::size_t kCapacity = 256;

    // Rounds values (at most kCapacity) to kListDecimals. The loop runs
    // over the whole batch, whatever the count: a loop of fixed length is
    // one the compiler turns into vector instructions at every optimisation
    // level.
    void round(std::span<const double> values)
    {
        std::copy(values.begin(), values.end(), values_.begin());
        for (std::size_t k = 0; k < kCapacity; ++k) {
            const BitsRounding bits = roundFromBits(values_[k], kListDecimals);
            scaled_[k] = bits.rounded.scaled;
            minus_[k] = bits.rounded.minus ? 1.0 : 0.0;
            settled_[k] = bits.settled ? 1.0 : 0.0;
        }
    }

    // Whether the values from `from` on, `count` of them, are all settled.
    bool allSettled(std::size_t from, std::size_t count) const
    {
        for (std::size_t k = from; k < from + count; ++k) {
            if (settled_[k] == 0.0) {
                return false;
            }
        }
        return true;
    }

    BitsRounding operator[](std::size_t k) const
    {
        BitsRounding bits;
        bits.rounded.scaled = scaled_[k];
        bits.rounded.minus = minus_[k] != 0.0;
        bits.settled = settled_[k] != 0.0;
        return bits;
    }

private:
    std::array<double, kCapacity> values_{};  // entries past the count are left over
    std::array<std::uint64_t, kCapacity> scaled_;
    std::array<double, kCapacity> minus_;
    std::array<double, kCapacity> settled_;
};

// Builds a line of list text in a buffer of its own, which holds any usual
// line whole: the listings write thousands of numbers per command, and a
// line handed over as a view of the buffer is copied once, into the list.
// Only a line with long forms or a long separator goes on in a string.
class LineWriter {
public:
    // "##0" (no decimals) or "##0.###0" (kListDecimals), rounded halves
    // away from zero on the 15 digits; `bits` is roundFromBits(value,
    // decimals).
    void number(double value, const BitsRounding& bits, std::size_t decimals,
                const Separator& separator)
    {
        // The usual case first: a settled value is finite and short.
        if (bits.settled && separator.fits()) {
            makeRoom(kShortRoom);
            char* const end = writeShort(buffer_.data() + used_, bits.rounded, decimals, separator);
            used_ = static_cast<std::size_t>(end - buffer_.data());
            return;
        }
        if (!std::isfinite(value)) {
            text(*nonFiniteText(value));
            return;
        }
        const Rounded rounded = bits.settled ? bits.rounded : roundFromDigits(value, decimals);
        if (!fitsShort(rounded, separator)) {
            text(writeLong(rounded, decimals, separator));
            return;
        }
        makeRoom(kShortRoom);
        char* const end = writeShort(buffer_.data() + used_, rounded, decimals, separator);
        used_ = static_cast<std::size_t>(end - buffer_.data());
    }

    void number(double value, std::size_t decimals, const Separator& separator)
    {
        number(value, roundFromBits(value, decimals), decimals, separator);
    }

    // The usual listing row at one go into the empty buffer: its index,
    // then values from..from+columns of the batch after gaps, then ending,
    // written through one local cursor (a member would be read again after
    // every character stored). False, with nothing written, when a value
    // needs more than the short form or the row might not fit.
    bool shortRow(std::size_t row, const RoundedBatch& batch, std::size_t from, std::size_t columns,
                  const Separator& separator, std::string_view ending)
    {
        const std::size_t room = kWholeRoom + columns * (sizeof kGap + kShortRoom) + ending.size();
        if (used_ != 0 || !overflow_.empty() || room > buffer_.size() || !separator.fits() ||
            !batch.allSettled(from, columns)) {
            return false;
        }
        char* w = writeWhole(buffer_.data(), row);
        for (std::size_t k = from; k < from + columns; ++k) {
            std::memcpy(w, kGap, sizeof kGap);
            w += sizeof kGap - 1;
            w = writeShort(w, batch[k].rounded, kListDecimals, separator);
        }
        std::memcpy(w, ending.data(), ending.size());
        used_ = static_cast<std::size_t>(w + ending.size() - buffer_.data());
        return true;
    }

    // A row index, which the listings write as "##0" of a whole number.
    void index(std::size_t row)
    {
        makeRoom(kWholeRoom);
        used_ = static_cast<std::size_t>(writeWhole(buffer_.data() + used_, row) - buffer_.data());
    }

    void gap()
    {
        makeRoom(sizeof kGap);
        std::memcpy(buffer_.data() + used_, kGap, sizeof kGap);
        used_ += sizeof kGap - 1;
    }

    void text(std::string_view piece)
    {
        makeRoom(piece.size());
        if (piece.size() > buffer_.size() - used_) {
            overflow_ += piece;
            return;
        }
        std::memcpy(buffer_.data() + used_, piece.data(), piece.size());
        used_ += piece.size();
    }

    // The line written since the last clear(); valid until the next write.
    std::string_view view()
    {
        if (overflow_.empty()) {
            return {buffer_.data(), used_};
        }
        flush();
        return overflow_;
    }

    void clear()
    {
        used_ = 0;
        overflow_.clear();
    }

private:
    static constexpr char kGap[] = "   ";

    void makeRoom(std::size_t room)
    {
        if (room > buffer_.size() - used_) {
            flush();
        }
    }

    void flush()
    {
        overflow_.append(buffer_.data(), used_);
        used_ = 0;
    }

    std::array<char, 256> buffer_;
    std::size_t used_ = 0;
    std::string overflow_;
};

}  // namespace

std::optional<std::string> nonFiniteText(double value)
{
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    return std::nullopt;
}

std::string formatIndex(double index)
{
    LineWriter writer;
    writer.number(index, 0, Separator(""));
    return std::string(writer.view());
}

std::string formatValue(double value, std::string_view decimalSeparator)
{
    LineWriter writer;
    writer.number(value, kListDecimals, Separator(decimalSeparator));
    return std::string(writer.view());
}

void listRows(std::span<const double> values, std::size_t columns,
              std::string_view decimalSeparator, std::string_view ending,
              const std::function<void(std::string_view)>& add)
{
    if (columns == 0) {
        return;
    }
    const Separator separator(decimalSeparator);
    // A batch of whole rows is rounded first, in a loop whose steps do not
    // depend on each other, then written.
    RoundedBatch batch;
    const std::size_t batchRows = std::max<std::size_t>(1, RoundedBatch::kCapacity / columns);
    LineWriter writer;
    const std::size_t rows = values.size() / columns;
    for (std::size_t first = 0; first < rows; first += batchRows) {
        const std::size_t count = std::min(batchRows, rows - first);
        const std::span<const double> part = values.subspan(first * columns, count * columns);
        const bool rounded = part.size() <= RoundedBatch::kCapacity;
        if (rounded) {
            batch.round(part);
        }
        for (std::size_t r = 0; r < count; ++r) {
            writer.clear();
            if (rounded &&
                writer.shortRow(first + r, batch, r * columns, columns, separator, ending)) {
                add(writer.view());
                continue;
            }
            writer.index(first + r);
            for (std::size_t c = r * columns; c < (r + 1) * columns; ++c) {
                writer.gap();
                if (rounded) {
                    writer.number(part[c], batch[c], kListDecimals, separator);
                } else {
                    writer.number(part[c], kListDecimals, separator);
                }
            }
            writer.text(ending);
            add(writer.view());
        }
    }
}

std::string formatSignificant(double value, int digits, int minExponent, int maxExponent,
                              std::string_view decimalSeparator)
{
    if (const auto special = nonFiniteText(value)) {
        return *special;
    }
    const ScientificDigits scientific = scientificDigits(value, digits);
    if (scientific.exponent < minExponent || scientific.exponent > maxExponent) {
        // Beyond these a plain writing runs to dozens or hundreds of
        // digits: 1e+308, not a 1 with 308 zeros.
        DecimalText text = placeDecimalPoint(scientific.negative, scientific.digits, 0);
        dropTrailingZeros(text.fraction);
        const std::string sign = scientific.exponent < 0 ? "-" : "+";
        return joinDecimal(text, decimalSeparator) + "e" + sign +
               std::to_string(std::abs(scientific.exponent));
    }
    DecimalText text =
        placeDecimalPoint(scientific.negative, scientific.digits, scientific.exponent);
    dropTrailingZeros(text.fraction);
    return joinDecimal(text, decimalSeparator);
}

std::string formatPlain(double value, std::string_view decimalSeparator)
{
    return formatSignificant(value, kSignificantDigits, kPlainMinExponent, kPlainMaxExponent,
                             decimalSeparator);
}

}  // namespace tarvel
