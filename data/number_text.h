// The short number texts that the scale, the readouts and the files show.
#pragma once

#include <string>
#include <string_view>

namespace tarvel {

// The decimal exponent of a positive finite value after rounding to
// `digits` significant digits, read from its exponent form so that log10's
// rounding cannot err.
int decimalExponent(double value, int digits = 1);

// A tick's label with just the digits that tell neighbouring ticks apart,
// trailing zeros dropped: plain decimals for steps from 1e-4 up to values
// below 1e6 ("0.2", "1", "-15", "1500"), otherwise a short exponent form
// ("1.2e300", "-5e-301").
std::string tickLabel(double value, double step, std::string_view decimalSeparator);

// A number as a readout shows it: `digits` significant digits with trailing
// zeros dropped, plain between 1e-3 and 1e5 ("0.9511", "-12.5"), otherwise in
// exponent form ("1.23e-5", "4e300"); "0", "inf", "-inf", "nan".
std::string compactNumber(double value, std::string_view decimalSeparator, int digits = 4);

// A number for a spreadsheet or a script: 17 significant digits, enough to
// read back the same double, with a period as decimal point.
std::string fullNumber(double value);

}  // namespace tarvel
