// The test functions and their sampling into the given points.
#include <cmath>

#include "app/form_tarvel.h"
#include "data/numeric_text.h"
#include "interp/study_functions.h"

namespace tarvel {

// The kernels are the study functions' own.
double Form_Tarvel::SinFunc(double x) const
{
    return sineValue(x, TwoPi);
}

double Form_Tarvel::Cos10Fu(double x) const
{
    return cos10Value(x, TwoPi);
}

// (a0 + a1 x + ... + an x^n) / (n + 1), the terms k = 0, 1, ... while k <= n.
double Form_Tarvel::Polynom(double n, double x) const
{
    return testPolynomialValue({n, aPoly}, x);
}

void Form_Tarvel::TestFunction()
{
    const auto sample = [&](auto function) {
        const double stepU = 1 / lastU;
        // The abscissa is a product, not a quotient, and the function sees
        // the stored value.
        for (int i = 0; i <= loopBound(lastU); ++i) {
            xU[static_cast<std::size_t>(i)] = i * stepU;
            yU[static_cast<std::size_t>(i)] = function(xU[static_cast<std::size_t>(i)]);
        }
    };
    switch (selectedSource()) {
    case TestSource::Sine:
        sample([this](double x) { return SinFunc(x); });
        break;
    case TestSource::Cos10:
        sample([this](double x) { return Cos10Fu(x); });
        break;
    case TestSource::Polynomial:
        nPoly = numericValue(c_.Text_nPoly.text());
        for (std::size_t k = 0; k < aPoly.size(); ++k)
            aPoly[k] = numericValue(polyCoefBox(k).text());
        sample([this](double x) { return Polynom(nPoly, x); });
        break;
    case TestSource::DataSet:
        break;  // the loaded points stay as they are
    case TestSource::None:
        passes(InputRefusal{InputProblem::NoTestFunction, std::nullopt, {}, {}});
        return;
    }
    PictureScale();
}

}  // namespace tarvel
