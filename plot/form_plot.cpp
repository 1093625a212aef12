// The picture: world coordinates fitted to the data, the test-function
// curve, the given points and the interpolated points.
#include <cmath>

#include "app/form_tarvel.h"
#include "plot/picture_scale.h"

namespace tarvel {
namespace {

constexpr double kGivenRadius = 0.005;
constexpr double kInterpolatedRadius = 0.001;
constexpr double kCurveStep = 0.01;

}  // namespace

// Fits the given points and only those interpolated points that the current
// command settled: values that an earlier run left in yI are not shown, so
// they must not stretch the scale either.
void Form_Tarvel::PictureScale()
{
    const Extent extent = verticalExtent(yU, loopBound(lastU), yI, loopBound(lastI), settled_);
    yMin = extent.yMin;
    yMax = extent.yMax;
    const WorldRect world = worldFor(extent);
    c_.Picture1.setWorld(world.left, world.top, world.right, world.bottom);
}

void Form_Tarvel::testFciz()
{
    const auto curveValue = [this](double x) {
        double y = 0;
        if (c_.Option_SinFunc.isSelected())
            y = SinFunc(x);
        if (c_.Option_Cos10Fu.isSelected())
            y = Cos10Fu(x);
        if (c_.Option_Polynom.isSelected())
            y = Polynom(nPoly, x);
        return y;
    };
    // Accumulating the step from 0 gives 100 segments; the last x lies a
    // hair above 1.
    double x = 0;
    plotPoint(x, curveValue(x));
    while (x < 1) {
        x = x + kCurveStep;
        plotLineTo(x, curveValue(x), ui::kRed);
    }
}

void Form_Tarvel::UcNokCiz()
{
    if (loopBound(lastU) < 0)
        return;  // no given point: index 0 holds nothing of this command
    plotCircle(xU[0], yU[0], kGivenRadius, ui::kRed);
    const bool joined = c_.Option_DataSet.isSelected();
    for (int i = 1; i <= loopBound(lastU); ++i) {
        plotCircle(xU[i], yU[i], kGivenRadius, ui::kRed);
        if (joined)
            plotLine(xU[i - 1], yU[i - 1], xU[i], yU[i], ui::kRed);
    }
}

// Only the points this Calculate settled: the others keep older values in
// yI, which would be drawn as if they were results.
void Form_Tarvel::Enterp_Nok_Ciz()
{
    for (int i = 0; i <= loopBound(lastI); ++i)
        if (settled_[static_cast<std::size_t>(i)] != Settlement::None)
            plotCircle(xI[i], yI[i], kInterpolatedRadius, ui::kBlue);
}

void Form_Tarvel::drawAxes()
{
    plotLine(0, 0, 1, 0, std::nullopt);
    plotLine(0, yMin, 0, yMax, std::nullopt);
}

void Form_Tarvel::plotPoint(double x, double y)
{
    if (drawable(x, y))
        c_.Picture1.setPoint(x, y, std::nullopt);
}

void Form_Tarvel::plotLineTo(double x, double y, ui::Colour colour)
{
    if (drawable(x, y))
        c_.Picture1.lineTo(x, y, colour);
}

void Form_Tarvel::plotLine(double x1, double y1, double x2, double y2,
                           std::optional<ui::Colour> colour)
{
    if (drawable(x1, y1) && drawable(x2, y2))
        c_.Picture1.line(x1, y1, x2, y2, colour);
}

void Form_Tarvel::plotCircle(double x, double y, double radius, ui::Colour colour)
{
    if (drawable(x, y))
        c_.Picture1.circle(x, y, radius, colour);
}

}  // namespace tarvel
