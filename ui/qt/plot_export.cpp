#include "ui/qt/plot_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QRegularExpression>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <optional>

#include "data/number_text.h"
#include "plot/pgfplots.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/file_save.h"
#include "ui/qt/pgf_scene.h"
#include "ui/qt/plot_view.h"

namespace tarvel::ui {
namespace {

constexpr double kCentimetresPerInch = 2.54;

// The figure's size in layout units (pixels at kLayoutDpi).
QSizeF layoutSize(const ExportSettings& s)
{
    const double perUnit = s.centimetres ? kLayoutDpi / kCentimetresPerInch : kLayoutDpi / s.dpi;
    return QSizeF(s.width * perUnit, s.height * perUnit);
}

PlotOptions optionsOf(const PlotView& plot, const ExportSettings& s)
{
    PlotOptions options = plot.options();
    options.showTitle = s.title;
    options.showCaptions = s.captions;
    options.showLegend = s.legend;
    return options;
}

QFont fontOf(const PlotView& plot, const ExportSettings& s)
{
    QFont font = plot.font();
    font.setPointSizeF(s.fontPt);
    return font;
}

void paintFigure(const PlotView& plot, const ExportSettings& s, QPainter& painter)
{
    plot.paintFigure(painter, layoutSize(s), optionsOf(plot, s), fontOf(plot, s), s.lineScale);
}

// What makes the figure's image of `pixels`, taken from the plot now; it
// may run on any thread.
std::function<QImage()> figureImagePainting(const PlotView& plot, const ExportSettings& s,
                                            const QSize& pixels)
{
    return [paint = plot.figurePainting(optionsOf(plot, s), fontOf(plot, s), s.lineScale),
            layout = layoutSize(s), pixels, dpi = s.dpi] {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return image;
        const auto setDpi = [&image](double dotsPerInch) {
            const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
            image.setDotsPerMeterX(dotsPerMetre);
            image.setDotsPerMeterY(dotsPerMetre);
        };
        // Painted at the layout's resolution, where the fonts were measured
        // (the scale alone makes the pixels); the file then says the
        // resolution asked for.
        setDpi(kLayoutDpi);
        image.fill(kBackground);
        {
            QPainter painter(&image);
            painter.scale(pixels.width() / layout.width(), pixels.height() / layout.height());
            paint(painter, layout);
        }
        setDpi(dpi);
        return image;
    };
}

// One row per point of every curve: its name (or its number), x and y as
// the axes read them.
std::string curvesCsv(const PlotScene& scene)
{
    std::string csv = "curve,x,y\n";
    int index = 0;
    for (const PlotSeries& series : scene.series) {
        ++index;
        std::string name = series.name.isEmpty() ? "curve " + std::to_string(index)
                                                 : series.name.toStdString();
        std::erase(name, '"');
        for (const WorldPoint& p : series.points) {
            const double x = scene.xScale == AxisScale::Log10 ? std::pow(10.0, p.x) : p.x;
            const double y = scene.yScale == AxisScale::Log10 ? std::pow(10.0, p.y) : p.y;
            csv += "\"" + name + "\"," + fullNumber(x) + "," + fullNumber(y) + "\n";
        }
    }
    return csv;
}

// The SVG drawing, its page of exactly the size asked for: the generator
// gives the page in whole layout pixels, which the size in millimetres
// replaces.
std::optional<QByteArray> svgDocument(const PlotView& plot, const ExportSettings& s)
{
    const QSizeF layout = layoutSize(s);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(kLayoutDpi));
    svg.setSize(layout.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), layout));
    QPainter painter;
    if (!painter.begin(&svg))
        return std::nullopt;
    painter.fillRect(QRectF(QPointF(0, 0), layout), kBackground);
    paintFigure(plot, s, painter);
    if (!painter.end())
        return std::nullopt;
    const QSizeF mm = exportCentimetres(s) * 10;
    QString text = QString::fromUtf8(buffer.data());
    text.replace(QRegularExpression(R"(<svg width="[^"]*" height="[^"]*")"),
                 QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\"")
                     .arg(mm.width(), 0, 'g', 8)
                     .arg(mm.height(), 0, 'g', 8));
    return text.toUtf8();
}

}  // namespace

QSize exportPixels(const ExportSettings& s)
{
    if (!s.centimetres)
        return QSize(static_cast<int>(std::lround(s.width)), static_cast<int>(std::lround(s.height)));
    const double perCm = s.dpi / kCentimetresPerInch;
    return QSize(static_cast<int>(std::lround(s.width * perCm)),
                 static_cast<int>(std::lround(s.height * perCm)));
}

QSizeF exportCentimetres(const ExportSettings& s)
{
    if (s.centimetres)
        return QSizeF(s.width, s.height);
    return QSizeF(s.width, s.height) * (kCentimetresPerInch / s.dpi);
}

QString exportSuffix(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png: return "png";
    case ExportFormat::Svg: return "svg";
    case ExportFormat::Pdf: return "pdf";
    case ExportFormat::Tex: return "tex";
    case ExportFormat::Csv: break;
    }
    return "csv";
}

QString exportFilter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png: return "PNG image (*.png)";
    case ExportFormat::Svg: return "SVG drawing (*.svg)";
    case ExportFormat::Pdf: return "PDF document (*.pdf)";
    case ExportFormat::Tex: return "pgfplots figure for LaTeX (*.tex)";
    case ExportFormat::Csv: break;
    }
    return "CSV of the drawn curves (*.csv)";
}

namespace {

// Why a file's name does not fit the format chosen: it ends in the suffix of
// another one, which would hide what the file holds; nothing when it fits.
std::optional<QString> misnamed(ExportFormat format, const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const ExportFormat other : kExportFormats)
        if (other != format && suffix == exportSuffix(other))
            return QStringLiteral("its name ends in .%1, but the format chosen is %2: name it "
                                  ".%3, or choose the format of .%1")
                .arg(suffix, exportFilter(format).section(" (", 0, 0), exportSuffix(format));
    return std::nullopt;
}

}  // namespace

QString exportPlot(const PlotView& plot, const ExportSettings& s, const QString& fileName)
{
    if (!(s.width > 0) || !(s.height > 0) || !(s.dpi > 0) || !(s.fontPt > 0))
        return QStringLiteral("the size, the resolution and the font size must be above 0");
    if (const std::optional<QString> why = misnamed(s.format, fileName))
        return *why;
    switch (s.format) {
    case ExportFormat::Png: {
        const QSize pixels = exportPixels(s);
        if (qint64{pixels.width()} * pixels.height() > kMaxPngPixels)
            return QStringLiteral("a PNG of %1 × %2 pixels would have more than %3 million; "
                                  "choose a smaller size or resolution, or SVG or PDF")
                .arg(pixels.width())
                .arg(pixels.height())
                .arg(kMaxPngPixels / 1'000'000);
        return saveImageAsPng(plot.window(), fileName, pixels,
                              figureImagePainting(plot, s, pixels));
    }
    case ExportFormat::Svg: {
        const std::optional<QByteArray> svg = svgDocument(plot, s);
        if (!svg)
            return QStringLiteral("the SVG drawing could not be made");
        return saveWhole(fileName, *svg);
    }
    case ExportFormat::Pdf:
        return saveWhole(fileName, [&](QIODevice& device) {
            QPdfWriter pdf(&device);
            pdf.setResolution(static_cast<int>(kLayoutDpi));
            const QSizeF cm = exportCentimetres(s);
            pdf.setPageSize(QPageSize(cm * 10, QPageSize::Millimeter));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter;
            if (!painter.begin(&pdf))
                return false;
            paintFigure(plot, s, painter);
            return painter.end();
        });
    case ExportFormat::Tex: {
        std::vector<PgfFigure> figures = plot.pgfFigures(optionsOf(plot, s));
        const QSizeF cm = exportCentimetres(s);
        for (PgfFigure& figure : figures) {
            figure.widthCm = cm.width() / static_cast<double>(figures.size());
            figure.heightCm = cm.height();
            figure.fontPt = s.fontPt;
            figure.lineWidthPt = 0.8 * s.lineScale;
        }
        return saveWhole(fileName, QByteArray::fromStdString(pgfplotsDocument(figures)));
    }
    case ExportFormat::Csv:
        break;
    }
    return saveWhole(fileName, QByteArray::fromStdString(curvesCsv(plot.exportScene())));
}

QImage exportPreview(const PlotView& plot, const ExportSettings& s, const QSize& box)
{
    const QSizeF layout = layoutSize(s);
    if (layout.isEmpty() || box.isEmpty())
        return {};
    const double fit = std::min(box.width() / layout.width(), box.height() / layout.height());
    const QSize pixels = (layout * fit).toSize().expandedTo(QSize(1, 1));
    return figureImagePainting(plot, s, pixels)();
}

}  // namespace tarvel::ui
