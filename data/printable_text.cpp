#include "data/printable_text.h"

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

void appendControlPicture(std::string& out, unsigned char c)
{
    // U+2400 + c for 0x00..0x1F, U+2421 for DEL; all lie in E2 90 80..E2 90 A1.
    const unsigned offset = c == 0x7F ? 0x21 : c;
    out += '\xE2';
    out += '\x90';
    out += static_cast<char>(0x80 + offset);
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
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = validSequence(bytes, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            appendControlPicture(out, c);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace tarvel
