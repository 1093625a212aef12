// Bytes from a file or a file name, made fit to be shown as one line of
// text: whatever their encoding, the result is valid UTF-8 that shows every
// character that is really there.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvel {

// Valid UTF-8 sequences are kept; every byte that does not belong to one
// becomes U+FFFD. Control characters (a line feed in a file name, a tab in
// an item, an escape), characters that show nothing or look like a plain
// blank (a zero-width space, a soft hyphen, a no-break space, C1 controls) and
// those that change the direction of the text around them (U+202E and the
// other embeddings, overrides, isolates and marks) are written out by
// their code point, "⟨U+200B⟩", a byte-order mark as "⟨BOM⟩". Longer than
// maxChars characters (a written-out one counts as one): cut, ending in
// "…".
std::string printableText(std::string_view bytes, std::size_t maxChars = 200);

// printableText for quoting inside a sentence. When it holds right-to-left
// letters (Hebrew, Arabic, ...), which would reorder the neutral characters
// next to them, it is set apart between U+2068 FIRST STRONG ISOLATE and
// U+2069 POP DIRECTIONAL ISOLATE, so the sentence around it keeps its order.
std::string isolatedText(std::string_view bytes, std::size_t maxChars = 200);

}  // namespace tarvel
