// Reading a number from the text of a text box.
#pragma once

#include <string_view>

namespace tarvel {

// The numeric value of a text: the longest leading part that forms a number,
// 0 when there is none; never an error. Blanks, tabs and line feeds are
// skipped anywhere in the text ("1 5" reads 15). The decimal point is the
// period whatever the locale; an optional sign, one decimal point and an
// exponent (E or e, then an optionally signed integer) are accepted. A text
// beginning with &H or &O is a hexadecimal or octal integer (no sign).
// A number too large for a double reads as an infinity of its sign, which
// the callers refuse; a number too small reads as 0.
double numericValue(std::string_view text);

// sign? digits [ '.' digits ] [ (e|E) sign? digits ], with at least one
// digit before the exponent: a decimal number written whole. Anything else
// (hexadecimal, "inf", "nan", blanks) is not.
bool hasNumberShape(std::string_view text);

// Whether the text, blanks around it aside, is one number written whole: a
// number of hasNumberShape, or &H / &O digits. "12abc", "2,5", "1 5" and ""
// are not.
bool isNumberAlone(std::string_view text);

}  // namespace tarvel
