#include "data/printable_text.h"

#include <initializer_list>

namespace tarvel {
namespace {

// Length of the valid UTF-8 sequence starting at bytes[i], 0 when there is
// none (overlong forms, surrogates and values above U+10FFFF are invalid).
std::size_t validSequence(std::string_view bytes, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

// The code point of a valid sequence.
char32_t decode(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return lead;
    char32_t point = lead & (0x7Fu >> sequence.size());
    for (std::size_t k = 1; k < sequence.size(); ++k)
        point = (point << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3Fu);
    return point;
}

struct Range {
    char32_t first;
    char32_t last;
};

bool inRanges(char32_t point, std::initializer_list<Range> ranges)
{
    for (const Range& range : ranges)
        if (point >= range.first && point <= range.last)
            return true;
    return false;
}

// Controls (C0, delete, C1), blanks other than the plain space, and the
// characters of Unicode's default-ignorable and format classes: each would
// pass unseen, or be taken for a space, or break or turn the text around it.
bool isHidden(char32_t point)
{
    return inRanges(point,
                    {{0x0000, 0x001F},   {0x007F, 0x00A0},  {0x00AD, 0x00AD}, {0x034F, 0x034F},
                     {0x061C, 0x061C},   {0x115F, 0x1160},  {0x1680, 0x1680}, {0x17B4, 0x17B5},
                     {0x180B, 0x180F},   {0x2000, 0x200F},  {0x2028, 0x202F}, {0x205F, 0x206F},
                     {0x2800, 0x2800},   {0x3000, 0x3000},  {0x3164, 0x3164}, {0xFE00, 0xFE0F},
                     {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},  {0xFFF0, 0xFFFB}, {0x1BCA0, 0x1BCA3},
                     {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF}});
}

// The blocks of the right-to-left scripts.
bool isRightToLeft(char32_t point)
{
    return inRanges(point, {{0x0590, 0x08FF},
                            {0xFB1D, 0xFDFF},
                            {0xFE70, 0xFEFE},
                            {0x10800, 0x10FFF},
                            {0x1E800, 0x1EFFF}});
}

// "⟨U+200B⟩", "⟨BOM⟩".
void appendWrittenOut(std::string& out, char32_t point)
{
    out += "\xE2\x9F\xA8";  // ⟨
    if (point == 0xFEFF) {
        out += "BOM";
    } else {
        constexpr char kHex[] = "0123456789ABCDEF";
        out += "U+";
        const int digits = point > 0xFFFF ? (point > 0xFFFFF ? 6 : 5) : 4;
        for (int d = digits - 1; d >= 0; --d)
            out += kHex[(point >> (4 * d)) & 0xFu];
    }
    out += "\xE2\x9F\xA9";  // ⟩
}

// Whether valid UTF-8 text holds a right-to-left letter.
bool holdsRightToLeft(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = validSequence(text, i);
        if (length > 0 && isRightToLeft(decode(text.substr(i, length))))
            return true;
        i += length == 0 ? 1 : length;
    }
    return false;
}

}  // namespace

std::string printableText(std::string_view bytes, std::size_t maxChars)
{
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < bytes.size(); ++chars) {
        if (chars == maxChars) {
            out += "\xE2\x80\xA6";  // …
            break;
        }
        const std::size_t length = validSequence(bytes, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            ++i;
            continue;
        }
        const std::string_view sequence = bytes.substr(i, length);
        i += length;
        if (const char32_t point = decode(sequence); isHidden(point))
            appendWrittenOut(out, point);
        else
            out.append(sequence);
    }
    return out;
}

std::string isolatedText(std::string_view bytes, std::size_t maxChars)
{
    std::string shown = printableText(bytes, maxChars);
    if (!holdsRightToLeft(shown))
        return shown;
    // First strong isolate ... pop directional isolate.
    return "\xE2\x81\xA8" + shown + "\xE2\x81\xA9";
}

}  // namespace tarvel
