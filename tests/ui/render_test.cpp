// Painting the picture into an image: the curve and the points land where
// the world coordinates say, at any size, and extreme data still paints its
// curve.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "ui/headless/headless_toolkit.h"
#include "ui/qt/drawing_painter.h"

using namespace tarvel;
using namespace tarvel::ui;

namespace {

// A data set extreme.dsf in the directory: point i at x = i/2 with the
// given y texts, exactly as written.
void writeDataSet(const QTemporaryDir& dir, const QStringList& values)
{
    QFile file(dir.filePath("extreme.dsf"));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the data set");
    file.write(QString("%1\n").arg(values.size()).toUtf8());
    for (int i = 0; i < values.size(); ++i)
        file.write(QString("%1, %2, %3\n").arg(i).arg(i * 0.5).arg(values[i]).toUtf8());
}

QImage render(const Drawing& drawing, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    paintDrawing(drawing, painter, size);
    return image;
}

bool reddish(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) < 120 && qBlue(pixel) < 120;
}

bool bluish(QRgb pixel)
{
    return qBlue(pixel) > 150 && qRed(pixel) < 170 && qGreen(pixel) < 170;
}

// Whether a pixel of the wanted colour lies within radius of the point.
bool colourNear(const QImage& image, QPointF at, bool (*wanted)(QRgb), int radius = 2)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(static_cast<int>(std::lround(at.x())) + dx,
                           static_cast<int>(std::lround(at.y())) + dy);
            if (image.rect().contains(p) && wanted(image.pixel(p)))
                return true;
        }
    return false;
}

QPointF toDevice(const Drawing& drawing, QSize size, double x, double y)
{
    const Viewport view(drawing.world(), size.width(), size.height());
    return {view.toDeviceX(x), view.toDeviceY(y)};
}

int countPixels(const QImage& image, bool (*wanted)(QRgb))
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += wanted(image.pixel(x, y));
    return count;
}

}  // namespace

class RenderTest : public QObject {
    Q_OBJECT

private slots:
    void curveIsRedAndInterpolatedPointsBlueAtAnySize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("window size") << QSize(609, 217);
        QTest::newRow("resized larger") << QSize(1200, 600);
        QTest::newRow("small") << QSize(300, 120);
    }

    void curveIsRedAndInterpolatedPointsBlueAtAnySize()
    {
        QFETCH(QSize, size);
        HeadlessWindow w;
        w.setText("Text_nI", "12");
        w.form.Command1_Click();
        w.form.Command2_Click();
        const QImage image = render(w.Picture1, size);
        for (double x = 0.05; x < 1; x += 0.1) {
            const QPointF at = toDevice(w.Picture1, size, x, std::sin(w.form.TwoPi * x));
            QVERIFY2(colourNear(image, at, reddish), qPrintable(QString("curve at x = %1").arg(x)));
        }
        for (int i = 1; i <= 10; ++i) {
            const QPointF at = toDevice(w.Picture1, size, w.form.xI[i], w.form.yI[i]);
            QVERIFY2(colourNear(image, at, bluish), qPrintable(QString("point %1").arg(i)));
        }
        QVERIFY(!colourNear(image, toDevice(w.Picture1, size, 0.5, 0.9), reddish, 1));
    }

    // At Ni = 50 each interpolated point is a ring a few pixels across over
    // the curve, not a dot of one or two pixels lost in the red line.
    void interpolatedPointsStandOutFromTheCurve()
    {
        HeadlessWindow w;
        w.setText("Text_nI", "50");
        w.setText("Text_nU", "21");
        w.form.Command1_Click();
        w.form.Command2_Click();
        const QSize size(609, 217);
        const QImage image = render(w.Picture1, size);
        for (const int i : {5, 17, 30, 44}) {
            const QPointF at = toDevice(w.Picture1, size, w.form.xI[i], w.form.yI[i]);
            int blue = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const QPoint p(static_cast<int>(std::lround(at.x())) + dx,
                                   static_cast<int>(std::lround(at.y())) + dy);
                    blue += image.rect().contains(p) && bluish(image.pixel(p));
                }
            QVERIFY2(blue >= 6, qPrintable(QString("point %1: %2 blue pixels").arg(i).arg(blue)));
        }
    }

    // Given points beyond the range of single precision: each lands at the
    // height the picture's scale gives it (worked out by hand: the world
    // runs from yMin - d to yMax + d with d a tenth of yMax, held at the
    // largest double), not on the x axis or a third of the way down.
    void hugeValuesAreDrawnWhereTheScaleSays_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QList<double>>("fractions");  // of the height, from the top
        QTest::newRow("1e300, -1e300, 5e299")
            << "1e300 -1e300 5e299" << QList<double>{0.1 / 2.2, 2.1 / 2.2, 0.6 / 2.2};
        QTest::newRow("1e39, -1e39, 0") << "1e39 -1e39 0" << QList<double>{0.1 / 2.2, 2.1 / 2.2, 0.5};
        QTest::newRow("largest doubles")
            << "1.7976931348623157e308 0 -1.7976931348623157e308" << QList<double>{0, 0.5, 1};
        QTest::newRow("5e299 among the largest doubles")
            << "1.7976931348623157e308 5e299 -1.7976931348623157e308"
            << QList<double>{0, 0.5, 1};
        QTest::newRow("top held at the largest double")
            << "1.7976931348623157e308 8.988465674311579e307 0"
            << QList<double>{0, 0.5 / 1.1, 1 / 1.1};
    }

    void hugeValuesAreDrawnWhereTheScaleSays()
    {
        QFETCH(QString, data);
        QFETCH(QList<double>, fractions);
        const QStringList values = data.split(' ');
        QTemporaryDir dir;
        writeDataSet(dir, values);
        HeadlessWindow w(dir.path().toStdString());
        w.select("Option_DataSet");
        w.clickFile("extreme.dsf");
        w.form.Command1_Click();
        QVERIFY(w.messages.messages.empty());
        const QSize size(800, 400);
        const QImage image = render(w.Picture1, size);
        for (int i = 0; i < values.size(); ++i) {
            const QPointF at((i * 0.5 + 0.1) / 1.2 * size.width(), fractions[i] * size.height());
            QVERIFY2(colourNear(image, at, reddish),
                     qPrintable(QString("point %1 (y = %2) not at %3, %4")
                                    .arg(i)
                                    .arg(values[i])
                                    .arg(at.x())
                                    .arg(at.y())));
        }
    }

    void extremeDataPaintsTheCurve_data()
    {
        QTest::addColumn<QString>("data");
        QTest::newRow("huge values") << "1e300 -1e300 1e300";
        QTest::newRow("largest doubles") << "1.7976931348623157e308 -1.7976931348623157e308 0";
        QTest::newRow("all zero") << "0 0 0";
        QTest::newRow("tiny values") << "1e-300 -1e-300 5e-324";
    }

    void extremeDataPaintsTheCurve()
    {
        QFETCH(QString, data);
        QTemporaryDir dir;
        writeDataSet(dir, data.split(' '));
        HeadlessWindow w(dir.path().toStdString());
        w.select("Option_DataSet");
        w.clickFile("extreme.dsf");
        w.form.Command1_Click();
        QVERIFY(w.messages.messages.empty());
        w.select("Option_InterPwCb");
        w.form.Command2_Click();
        const QImage image = render(w.Picture1, QSize(800, 400));
        QVERIFY(countPixels(image, reddish) > 0);
    }
};

QTEST_MAIN(RenderTest)
#include "render_test.moc"
