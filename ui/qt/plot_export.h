// Exports of a plot as the export dialog asks for them: PNG, SVG, PDF,
// pgfplots or a CSV of the drawn curves, of a chosen size (pixels, or
// centimetres at a resolution), font size and line width, with the title,
// the captions and the legend each on or off.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <array>

namespace tarvel::ui {

class PlotView;

enum class ExportFormat { Png, Svg, Pdf, Tex, Csv };

// Every format, in the order the export dialog offers them.
inline constexpr std::array<ExportFormat, 5> kExportFormats = {
    ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf, ExportFormat::Tex, ExportFormat::Csv};

struct ExportSettings {
    ExportFormat format = ExportFormat::Pdf;
    bool centimetres = true;  // width and height in cm; otherwise in pixels
    double width = 16;
    double height = 12;
    int dpi = 150;        // pixels per inch of a PNG, and of a size given in pixels
    double fontPt = 9;
    double lineScale = 1;  // times the lines' shown width
    bool title = true;
    bool captions = true;
    bool legend = true;
};

// The figure's layout is made at this resolution, at which one pixel of the
// screen is one unit: texts in points measure what they do shown.
inline constexpr double kLayoutDpi = 96;

// A PNG's size in pixels.
QSize exportPixels(const ExportSettings& settings);
// The figure's size in centimetres.
QSizeF exportCentimetres(const ExportSettings& settings);

// The file's suffix and the save dialog's filter of a format.
QString exportSuffix(ExportFormat format);
QString exportFilter(ExportFormat format);

// Writes the figure, whole or not at all; the reason of a failure, empty on
// success.
QString exportPlot(const PlotView& plot, const ExportSettings& settings, const QString& fileName);

// The figure as it will be exported, scaled to fit `box`.
QImage exportPreview(const PlotView& plot, const ExportSettings& settings, const QSize& box);

}  // namespace tarvel::ui
