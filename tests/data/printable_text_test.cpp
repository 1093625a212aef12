#include "data/printable_text.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(PrintableText, AnyBytesBecomeOneLineOfValidText)
{
    const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD
    const struct {
        const char* name;
        std::string bytes;
        std::string shown;
    } rows[] = {
        {"ascii", "runge.dsf", "runge.dsf"},
        {"utf8 letters kept", "\xC3\x96l\xC3\xA7\xC3\xBCm.dsf", "\xC3\x96l\xC3\xA7\xC3\xBCm.dsf"},
        {"four-byte letter kept", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"invalid bytes", "bad-\xFF\xFE.dsf", "bad-" + kBad + kBad + ".dsf"},
        {"latin-1 letter", "M\xFCller.dsf", "M" + kBad + "ller.dsf"},
        {"line feed", "new\nline.dsf", "new\xE2\x90\x8Aline.dsf"},
        {"tab and delete", "a\tb\x7F",
         "a\xE2\x90\x89"
         "b\xE2\x90\xA1"},
        {"overlong slash", "\xC0\xAF", kBad + kBad},
        {"surrogate", "\xED\xA0\x80", kBad + kBad + kBad},
        {"above U+10FFFF", "\xF4\x90\x80\x80", kBad + kBad + kBad + kBad},
        {"cut sequence at the end", "a\xF0\x9F\x98", "a" + kBad + kBad + kBad},
    };
    for (const auto& row : rows)
        EXPECT_EQ(printableText(row.bytes), row.shown) << row.name;
}

TEST(PrintableText, LongTextIsCutAtWholeCharacters)
{
    EXPECT_EQ(printableText("abcdef", 3), "abc\xE2\x80\xA6");
    EXPECT_EQ(printableText("abc", 3), "abc");
    EXPECT_EQ(printableText("\xC3\xA7\xC3\xA7\xC3\xA7", 2), "\xC3\xA7\xC3\xA7\xE2\x80\xA6");
}

}  // namespace
}  // namespace tarvel
