// A number carried as a mantissa and a power of two: a product of a
// thousand factors neither overflows nor underflows, nor loses its digits.
#pragma once

#include <cmath>
#include <limits>

namespace tarvel {

// The mantissa is renormalised only when it leaves [2^-500, 2^500], and a
// factor beyond 2^+-400 is split first, so no step overflows or underflows;
// powers of two are exact, so each product rounds as the plain one would.
class ScaledNumber {
public:
    struct Parts {
        double mantissa = 0;  // 0, or 0.5 <= |mantissa| < 1
        int exponent = 0;     // of 2; 0 for the number 0
    };

    void multiply(double factor)
    {
        const double size = std::fabs(factor);
        if (size < 0x1p-400 || size > 0x1p400) {
            int shift = 0;
            factor = std::frexp(factor, &shift);
            exponent_ += shift;
        }
        mantissa_ *= factor;
        const double result = std::fabs(mantissa_);
        if (result < 0x1p-500 || result > 0x1p500) {
            int shift = 0;
            mantissa_ = std::frexp(mantissa_, &shift);
            exponent_ += shift;
        }
    }

    Parts normalised() const
    {
        Parts parts;
        parts.mantissa = std::frexp(mantissa_, &parts.exponent);
        parts.exponent = parts.mantissa == 0 ? 0 : parts.exponent + exponent_;
        return parts;
    }

    // The number as a double: 0 below the smallest one.
    double value() const { return std::ldexp(mantissa_, exponent_); }

    // log10 of the magnitude; -inf for 0.
    double log10Magnitude() const
    {
        const Parts parts = normalised();
        if (parts.mantissa == 0)
            return -std::numeric_limits<double>::infinity();
        return std::log10(std::fabs(parts.mantissa)) + parts.exponent * std::log10(2.0);
    }

private:
    double mantissa_ = 1;  // the number 1 to begin with
    int exponent_ = 0;
};

}  // namespace tarvel
