// What the plots export: the pgfplots figure of every lab view and of the
// main picture compiles with pdflatex and carries the title, the captions,
// the log modes and the legend, with no curve over 501 points.
#include <QCheckBox>
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "support/window_controls.h"
#include "ui/qt/export_dialog.h"
#include "ui/qt/lab_plot.h"
#include "ui/qt/lab_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_widget.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;

namespace {

LabWindow* openLab(LabFunction function, int count, std::initializer_list<const char*> methods)
{
    LabStart start;
    start.settings.function = function;
    start.settings.count = count;
    for (const char* key : methods)
        start.settings.shown[methodIndex(*studyMethodFromKey(key))] = true;
    auto* lab = new LabWindow(std::move(start));
    lab->resize(1100, 720);
    lab->show();
    return lab;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Runs pdflatex on the file in its folder, its PDF's objects left
// uncompressed for pageOf; the log's end on failure.
QString compiled(const QString& texPath)
{
    const QString pdflatex = QStandardPaths::findExecutable("pdflatex");
    if (pdflatex.isEmpty())
        return "pdflatex is missing: scripts/install-deps.sh installs texlive-latex-base";
    QProcess run;
    run.setWorkingDirectory(QFileInfo(texPath).absolutePath());
    run.start(pdflatex, {"-interaction=nonstopmode", "-halt-on-error",
                         "\\pdfobjcompresslevel=0\\input{" + QFileInfo(texPath).fileName() + "}"});
    if (!run.waitForFinished(120000))
        return "pdflatex did not finish";
    if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
        return QString::fromUtf8(run.readAllStandardOutput()).right(1500);
    const QString pdf = texPath.chopped(4) + ".pdf";
    return QFile::exists(pdf) ? QString() : "no PDF written";
}

// The first page's size in centimetres, from the MediaBox of a PDF; empty
// when there is none.
QSizeF pageOf(const QString& pdfPath)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])")
            .match(QString::fromLatin1(file.readAll()));
    if (!box.hasMatch())
        return {};
    const auto cm = [](const QString& points) { return points.toDouble() * 2.54 / 72; };
    return QSizeF(cm(box.captured(1)), cm(box.captured(2)));
}

// Whether a page is the size asked for within 2 mm either way.
bool nearly(const QSizeF& page, const QSizeF& asked)
{
    return std::abs(page.width() - asked.width()) <= 0.2 &&
           std::abs(page.height() - asked.height()) <= 0.2;
}

QString cmText(const QSizeF& size)
{
    return QString("%1 x %2 cm").arg(size.width(), 0, 'f', 2).arg(size.height(), 0, 'f', 2);
}

// The largest number of points in one \addplot.
int longestCurve(const QString& tex)
{
    int longest = 0;
    for (const QString& plot : tex.split("\\addplot").mid(1)) {
        const QString data = plot.section("coordinates {", 1).section('}', 0, 0);
        longest = std::max(longest, static_cast<int>(data.count('(')));
    }
    return longest;
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    void everyLabViewCompilesAsAPgfplotsFigure()
    {
        std::unique_ptr<LabWindow> lab(
            openLab(LabFunction::Runge, 11, {"global", "natural", "pchip", "akima"}));
        QSignalSpy finished(lab.get(), &LabWindow::convergenceFinished);
        auto* view = find<QComboBox>(*lab, "labView");
        QTemporaryDir dir;
        const struct {
            const char* key;
            const char* yCaption;
            bool logX, logY;
            int plots;  // curves and point sets
        } views[] = {
            {"values", "p(x), f(x)", false, false, 6},
            {"error", "p(x) $-$ f(x)", false, false, 4},
            {"logerror", "$|$p(x) $-$ f(x)$|$", false, true, 4},
            {"derivative", "p$'$(x), f$'$(x)", false, false, 5},
            {"second", "p$''$(x), f$''$(x)", false, false, 5},
            {"lebesgue", "Lebesgue function $\\lambda$(x)", false, false, 1},
            {"convergence", "largest error max $|$p $-$ f$|$", true, true, 7},
        };
        for (const auto& v : views) {
            choose(view, v.key);
            if (QString(v.key) == "convergence" && !lab->convergenceComplete())
                QVERIFY(finished.wait(60000));
            const QString path = dir.filePath(QString(v.key) + ".tex");
            QCOMPARE(lab->savePicture(path), std::nullopt);
            const QString tex = readText(path);
            QVERIFY2(tex.startsWith("% Written by Tarvel") &&
                         tex.contains("\\documentclass[border=4pt]{standalone}"),
                     v.key);
            QVERIFY2(tex.contains("title={Runge\\tarvelspace 1/(1\\tarvelspace +\\tarvelspace "
                                  "25(2x\\tarvelspace $-$\\tarvelspace 1)\\textsuperscript{2}), "),
                     v.key);
            QVERIFY2(tex.contains(QString("ylabel={%1}").arg(v.yCaption)), qPrintable(v.key + tex.left(1500)));
            QVERIFY2(tex.contains(v.logX ? "xmode=log" : "xmode=normal"), v.key);
            QVERIFY2(tex.contains(v.logY ? "ymode=log" : "ymode=normal"), v.key);
            QCOMPARE(static_cast<int>(tex.count("\\addplot[")), v.plots);
            QVERIFY2(tex.count("\\addlegendentry") >= 1, v.key);
            QVERIFY2(longestCurve(tex) <= 501 && longestCurve(tex) > 1, v.key);
            QVERIFY2(!tex.contains(QRegularExpression("[^\\x{0}-\\x{7f}]")), "ASCII only");
            const QString failure = compiled(path);
            QVERIFY2(failure.isEmpty(), qPrintable(QString(v.key) + ": " + failure));
        }
        const QString convergence = readText(dir.filePath("convergence.tex"));
        QVERIFY(convergence.contains("node[pos=1, anchor=south east, font=\\footnotesize] "
                                     "{n\\textsuperscript{$-$4}}"));
        QVERIFY(convergence.contains("\\addlegendentry{Global polynomial --- no steady rate}"));
    }

    void theMainPictureCompilesWithItsCurvesAndLegend()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(window, "Command1");
        click(window, "Command2");
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.tex");
        QCOMPARE(window.picture().savePicture(path), QString());
        const QString tex = readText(path);
        QVERIFY(tex.contains("xlabel={x}"));
        QVERIFY(tex.contains("ylabel={y}"));
        QVERIFY(tex.contains("\\addlegendentry{given points of sin(2$\\pi$x) (11)}"));
        QVERIFY(tex.count("\\addplot[") >= 3);  // the axes, the curve, the points
        QVERIFY(longestCurve(tex) <= 501);
        const QString failure = compiled(path);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // Printing to a PDF file needs no printer: one A4 page with the figure.
    void printingToAPdfFileWritesOnePage()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(window, "Command1");
        QTemporaryDir dir;
        const std::pair<const char*, PlotView*> plots[] = {{"lab.pdf", &lab->plot()},
                                                           {"main.pdf", &window.picture()}};
        for (const auto& [name, plot] : plots) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setOutputFileName(dir.filePath(name));
            QVERIFY2(plot->printPicture(printer), name);
            QFile pdf(dir.filePath(name));
            QVERIFY2(pdf.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = pdf.readAll();
            QVERIFY2(bytes.startsWith("%PDF"), name);
            QCOMPARE(bytes.count("/Type /Page\n"), 1);
            QVERIFY2(bytes.contains("/MediaBox [0 0 595"), name);
            QVERIFY2(bytes.size() > 4000, name);
        }
    }

    // Each format comes out at the size asked for: a PNG of so many pixels
    // (from pixels or from centimetres at a resolution), an SVG, PDF or
    // pgfplots page of so many centimetres (a PDF page to the nearest point,
    // as Qt's writer sets it; a compiled pgfplots page within 2 mm).
    void eachFormatComesOutAtTheAskedSize()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global", "natural"}));
        QTemporaryDir dir;
        const struct {
            const char* name;
            ExportFormat format;
            bool centimetres;
            double width, height;
            int dpi;
            const char* expected;  // in the file; for a PNG its size "w x h"
        } cases[] = {
            {"px.png", ExportFormat::Png, false, 640, 480, 96, "640 x 480"},
            {"column.png", ExportFormat::Png, true, 8.5, 6.4, 300, "1004 x 756"},
            {"wide.svg", ExportFormat::Svg, true, 16, 9, 150, "width=\"160mm\" height=\"90mm\""},
            {"wide.pdf", ExportFormat::Pdf, true, 16, 9, 150, "/MediaBox [0 0 454.000000 255.000000]"},
            {"px.pdf", ExportFormat::Pdf, false, 600, 300, 300, "/MediaBox [0 0 144.000000 72.000000]"},
            {"column.tex", ExportFormat::Tex, true, 8.5, 6.4, 150, "8.50 x 6.40 cm"},
            {"no room.tex", ExportFormat::Tex, true, 4, 3, 150, "4.00 x 3.00 cm"},
            {"curves.csv", ExportFormat::Csv, true, 16, 12, 150, "curve,x,y\n\"Runge"},
        };
        for (const auto& c : cases) {
            ExportSettings settings;
            settings.format = c.format;
            settings.centimetres = c.centimetres;
            settings.width = c.width;
            settings.height = c.height;
            settings.dpi = c.dpi;
            const QString path = dir.filePath(c.name);
            QCOMPARE(exportPlot(lab->plot(), settings, path), QString());
            if (c.format == ExportFormat::Png) {
                const QImage image(path);
                QCOMPARE(QString("%1 x %2").arg(image.width()).arg(image.height()),
                         QString(c.expected));
                QCOMPARE(image.dotsPerMeterX(), static_cast<int>(std::lround(c.dpi / 0.0254)));
                continue;
            }
            if (c.format == ExportFormat::Tex) {
                QCOMPARE(compiled(path), QString());
                const QSizeF page = pageOf(path.chopped(4) + ".pdf");
                QVERIFY2(nearly(page, {c.width, c.height}), qPrintable(cmText(page)));
                continue;
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const qsizetype box = bytes.indexOf("/MediaBox");
            QVERIFY2(bytes.contains(c.expected),
                     qPrintable(QString(c.name) + ": " + (box >= 0 ? bytes.mid(box, 40) : bytes.left(300))));
        }
        ExportSettings broken;
        broken.width = 0;
        QVERIFY(!exportPlot(lab->plot(), broken, dir.filePath("none.pdf")).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("none.pdf")));
        // A name that says another format is refused, and no file written.
        ExportSettings svg;
        svg.format = ExportFormat::Svg;
        QCOMPARE(exportPlot(lab->plot(), svg, dir.filePath("figure.PDF")),
                 QString("its name ends in .pdf, but the format chosen is SVG drawing: "
                         "name it .svg, or choose the format of .pdf"));
        QVERIFY(!QFile::exists(dir.filePath("figure.PDF")));
    }

    // The dialog previews the figure in the proportions asked for, and the
    // next dialog of the session starts from the settings last exported.
    void theDialogPreviewsAndRemembersItsSettings()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        QTemporaryDir dir;
        {
            ExportDialog dialog(lab->plot(), lab.get());
            auto* preset = find<QComboBox>(dialog, "exportPreset");
            preset->setCurrentIndex(2);
            emit preset->activated(2);
            QCOMPARE(dialog.settings().width, 16.0);
            QCOMPARE(dialog.settings().height, 9.0);
            const QPixmap preview = find<QLabel>(dialog, "exportPreview")->pixmap();
            QVERIFY(!preview.isNull());
            QVERIFY(std::abs(preview.width() / double(preview.height()) - 16.0 / 9.0) < 0.02);
            find<QCheckBox>(dialog, "exportTitle")->setChecked(false);
            find<QComboBox>(dialog, "exportFormat")->setCurrentIndex(3);
            QCOMPARE(dialog.settings().format, ExportFormat::Tex);
            QCOMPARE(dialog.exportTo(dir.filePath("figure.tex")), QString());
            QVERIFY(!readText(dir.filePath("figure.tex")).contains("title={"));
        }
        ExportDialog next(lab->plot(), lab.get());
        QCOMPARE(next.settings().format, ExportFormat::Tex);
        QCOMPARE(next.settings().height, 9.0);
        QVERIFY(!find<QCheckBox>(next, "exportTitle")->isChecked());
        QCOMPARE(find<QDoubleSpinBox>(next, "exportHeight")->value(), 9.0);
    }

    // A large PNG is encoded and written on a worker under a modal note: the
    // window thread runs its events meanwhile, and the file is whole after.
    // A small one is written at once, with no note.
    void aLargePngIsSavedWhileTheWindowRuns_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("noted");
        QTest::newRow("2400 x 2000 under a note") << 2400 << true;
        QTest::newRow("640 x 2000 at once") << 640 << false;
    }

    void aLargePngIsSavedWhileTheWindowRuns()
    {
        QFETCH(int, width);
        QFETCH(bool, noted);
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        QTemporaryDir dir;
        ExportSettings settings;
        settings.format = ExportFormat::Png;
        settings.centimetres = false;
        settings.width = width;
        settings.height = 2000;
        settings.dpi = 96;
        bool saving = true;
        QString seenDuringSave;
        QTimer::singleShot(0, [&] {
            if (saving)
                if (QWidget* modal = QApplication::activeModalWidget())
                    seenDuringSave = modal->objectName();
        });
        const QString before = dir.filePath("before.png");
        QCOMPARE(exportPlot(lab->plot(), settings, before), QString());
        // The picture painted is the one shown when the save was asked for,
        // whatever the window shows while it is painted.
        QTimer::singleShot(0, [&] {
            if (saving)
                lab->plot().setPicture(LabPicture{});
        });
        const QString path = dir.filePath("large.png");
        QCOMPARE(exportPlot(lab->plot(), settings, path), QString());
        saving = false;
        QCOMPARE(seenDuringSave, noted ? QString("saveProgress") : QString());
        QCOMPARE(QImage(path).size(), QSize(width, 2000));
        QVERIFY(QImage(path) == QImage(before));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // A PNG's texts keep their size against the figure at any resolution:
    // the same centimetres at twice the dots per inch are the same picture
    // at twice the pixels, not one with texts twice as large.
    void aPngKeepsItsProportionsAtAnyResolution()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        QTemporaryDir dir;
        ExportSettings settings;
        settings.format = ExportFormat::Png;
        settings.width = 8;
        settings.height = 6;
        QImage images[2];
        for (const int times : {1, 2}) {
            settings.dpi = 96 * times;
            const QString path = dir.filePath(QString("at%1.png").arg(settings.dpi));
            QCOMPARE(exportPlot(lab->plot(), settings, path), QString());
            images[times - 1] = QImage(path).convertToFormat(QImage::Format_RGB32);
        }
        const QImage halved = images[1].scaled(images[0].size(), Qt::IgnoreAspectRatio,
                                               Qt::SmoothTransformation);
        int differ = 0;
        for (int y = 0; y < halved.height(); ++y)
            for (int x = 0; x < halved.width(); ++x)
                differ += std::abs(qGray(halved.pixel(x, y)) - qGray(images[0].pixel(x, y))) > 96;
        const int pixels = halved.width() * halved.height();
        QVERIFY2(differ < pixels / 50, qPrintable(QString("%1 of %2 pixels differ").arg(differ).arg(pixels)));
    }

    // A PNG above the pixel cap is refused with its size before anything is
    // painted, and an earlier file of the name stays as it was.
    void aPngAboveThePixelCapIsRefused()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        QTemporaryDir dir;
        const QString path = dir.filePath("huge.png");
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        ExportSettings settings;
        settings.format = ExportFormat::Png;
        settings.width = 160;  // cm at 150 dpi: 9449 x 7087 pixels
        settings.height = 120;
        const QString why = exportPlot(lab->plot(), settings, path);
        QVERIFY2(why.contains("9449 × 7087") && why.contains("more than 40 million"),
                 qPrintable(why));
        QCOMPARE(readText(path), QString("earlier"));
    }

    // An export of a split view holds both panels side by side: its right
    // half is the second panel's own figure at half the width.
    void aSplitViewExportsBothPanels()
    {
        std::unique_ptr<LabWindow> lab(openLab(LabFunction::Runge, 11, {"global"}));
        find<QAction>(*lab, "labSplitAction")->trigger();
        QTemporaryDir dir;
        ExportSettings settings;
        settings.format = ExportFormat::Png;
        settings.centimetres = false;
        settings.width = 800;
        settings.height = 400;
        settings.dpi = 96;
        QCOMPARE(exportPlot(lab->plot(), settings, dir.filePath("both.png")), QString());
        settings.width = 400;
        QCOMPARE(exportPlot(lab->secondPlot(), settings, dir.filePath("second.png")), QString());
        const QImage both = QImage(dir.filePath("both.png")).convertToFormat(QImage::Format_RGB32);
        const QImage second = QImage(dir.filePath("second.png")).convertToFormat(QImage::Format_RGB32);
        const QImage right = both.copy(400, 0, 400, 400);
        int differ = 0;
        QRect where;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                if (right.pixel(x, y) != second.pixel(x, y)) {
                    ++differ;
                    where |= QRect(x, y, 1, 1);
                }
        // Antialiasing may shade a few edge pixels otherwise at another origin.
        QVERIFY2(differ <= 40, qPrintable(QString("%1 pixels differ in %2,%3 %4x%5").arg(differ).arg(where.x()).arg(where.y()).arg(where.width()).arg(where.height())));
        QVERIFY(both.copy(0, 0, 400, 400) != second);

        // The pgfplots file: two axes side by side, each with its own title,
        // compiled as it is onto a page of the size asked for, legends and
        // all, at the dialog's first size and at a wide one.
        settings.format = ExportFormat::Tex;
        settings.centimetres = true;
        for (const QSizeF asked : {QSizeF(16, 12), QSizeF(24, 8)}) {
            settings.width = asked.width();
            settings.height = asked.height();
            const QString texPath = dir.filePath(QString("both%1.tex").arg(asked.width()));
            QCOMPARE(exportPlot(lab->plot(), settings, texPath), QString());
            const QString tex = readText(texPath);
            QCOMPARE(static_cast<int>(tex.count("\\begin{axis}")), 2);
            const qsizetype secondAxis = tex.indexOf("\\begin{axis}", tex.indexOf("\\begin{axis}") + 1);
            QVERIFY(tex.lastIndexOf("evenly\\tarvelspace spaced\\tarvelspace nodes}", secondAxis) >= 0);
            QVERIFY(tex.indexOf("11\\tarvelspace Chebyshev\\tarvelspace points}", secondAxis) > secondAxis);
            QCOMPARE(compiled(texPath), QString());
            const QSizeF page = pageOf(texPath.chopped(4) + ".pdf");
            QVERIFY2(nearly(page, asked), qPrintable(cmText(page)));
        }

        // The quick save and the print hold both panels, each at the width
        // it has in the window, not the two squeezed into the first's.
        const QSize shown = lab->plot().contentsRect().size();
        QCOMPARE(lab->plot().savePicture(dir.filePath("quick.png")), QString());
        QCOMPARE(QImage(dir.filePath("quick.png")).size(),
                 QSize(2 * shown.width(), shown.height()) * 2);
    }

private:
    static void choose(QComboBox* combo, const char* key)
    {
        const int index = combo->findData(QString::fromLatin1(key));
        QVERIFY2(index >= 0, key);
        combo->setCurrentIndex(index);
    }
};

QTEST_MAIN(ExportTest)
#include "export_test.moc"
