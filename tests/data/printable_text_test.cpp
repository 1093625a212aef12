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
        {"line feed", "new\nline.dsf", "new\xE2\x9F\xA8U+000A\xE2\x9F\xA9line.dsf"},
        {"tab and delete", "a\tb\x7F",
         "a\xE2\x9F\xA8U+0009\xE2\x9F\xA9"
         "b\xE2\x9F\xA8U+007F\xE2\x9F\xA9"},
        {"escape", "\x1B[31mred", "\xE2\x9F\xA8U+001B\xE2\x9F\xA9[31mred"},
        {"carriage return and nul", std::string("a\r\0b", 4),
         "a\xE2\x9F\xA8U+000D\xE2\x9F\xA9\xE2\x9F\xA8U+0000\xE2\x9F\xA9"
         "b"},
        {"overlong slash", "\xC0\xAF", kBad + kBad},
        {"surrogate", "\xED\xA0\x80", kBad + kBad + kBad},
        {"above U+10FFFF", "\xF4\x90\x80\x80", kBad + kBad + kBad + kBad},
        {"cut sequence at the end", "a\xF0\x9F\x98", "a" + kBad + kBad + kBad},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "3",
         "\xE2\x9F\xA8"
         "BOM\xE2\x9F\xA9"
         "3"},
        {"zero-width space", "2\xE2\x80\x8B", "2\xE2\x9F\xA8U+200B\xE2\x9F\xA9"},
        {"no-break space", "0.5\xC2\xA0", "0.5\xE2\x9F\xA8U+00A0\xE2\x9F\xA9"},
        {"C1 next line",
         "a\xC2\x85"
         "b",
         "a\xE2\x9F\xA8U+0085\xE2\x9F\xA9"
         "b"},
        {"right-to-left override",
         "\xE2\x80\xAE"
         "fdp.dsf",
         "\xE2\x9F\xA8U+202E\xE2\x9F\xA9"
         "fdp.dsf"},
        {"first strong isolate", "\xE2\x81\xA8", "\xE2\x9F\xA8U+2068\xE2\x9F\xA9"},
        {"tag character", "\xF3\xA0\x80\x81", "\xE2\x9F\xA8U+E0001\xE2\x9F\xA9"},
        {"visible neighbours kept", "\xE2\x80\x90\xE2\x82\xAC", "\xE2\x80\x90\xE2\x82\xAC"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(printableText(row.bytes), row.shown) << row.name;
}

// A name with right-to-left letters would carry the sentence's own
// punctuation into its reordering: it is set apart; other names are not.
TEST(PrintableText, RightToLeftTextIsIsolatedInASentence)
{
    const std::string kIsolate = "\xE2\x81\xA8";
    const std::string kPop = "\xE2\x81\xA9";
    EXPECT_EQ(isolatedText("\xD7\xA9\xD7\x9C.dsf"), kIsolate + "\xD7\xA9\xD7\x9C.dsf" + kPop);
    EXPECT_EQ(isolatedText("\xD8\xA8.dsf"), kIsolate + "\xD8\xA8.dsf" + kPop);
    EXPECT_EQ(isolatedText("runge.dsf"), "runge.dsf");
    EXPECT_EQ(isolatedText("\xE2\x80\xAE"
                           "fdp.dsf"),
              "\xE2\x9F\xA8U+202E\xE2\x9F\xA9"
              "fdp.dsf");
}

TEST(PrintableText, LongTextIsCutAtWholeCharacters)
{
    EXPECT_EQ(printableText("\xE2\x80\x8B\xE2\x80\x8B", 1),
              "\xE2\x9F\xA8U+200B\xE2\x9F\xA9\xE2\x80\xA6");
    EXPECT_EQ(printableText("abcdef", 3), "abc\xE2\x80\xA6");
    EXPECT_EQ(printableText("abc", 3), "abc");
    EXPECT_EQ(printableText("\xC3\xA7\xC3\xA7\xC3\xA7", 2), "\xC3\xA7\xC3\xA7\xE2\x80\xA6");
}

}  // namespace
}  // namespace tarvel
