// Bytes from a file or a file name, made fit to be shown as one line of
// text: whatever their encoding, the result is valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvel {

// Valid UTF-8 sequences are kept; every byte that does not belong to one
// becomes U+FFFD; control characters (a line feed in a file name, a tab in
// an item) become their visible pictures (U+2400..U+2421) so the text stays
// on one line. Longer than maxChars characters: cut, ending in "…".
std::string printableText(std::string_view bytes, std::size_t maxChars = 200);

}  // namespace tarvel
