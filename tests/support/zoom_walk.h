// Zooming and panning a plot to the ends of the numbers, as a hostile user
// does: 400 presses of + and of -, then drags that reach 1e300 and -1e300.
// The plot must answer every step, keep a finite world within the decades
// of doubles on a decade axis, say in the status line where it stopped, and
// never read "inf" or "nan" under the pointer.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include <cmath>
#include <functional>

#include "plot/plot_layout.h"
#include "ui/qt/plot_view.h"

namespace tarvel::support {

struct ZoomWalk {
    ui::PlotView& plot;
    std::function<QString()> statusLine;  // what the status line says now
    std::function<QString()> readout;     // what the pointer reads now
    bool decadeY = false;
};

inline bool finiteWorld(const ui::PlotView& plot)
{
    const WorldRect& w = plot.shownWorld();
    return std::isfinite(w.left) && std::isfinite(w.right) && std::isfinite(w.top) &&
           std::isfinite(w.bottom) && w.left != w.right && w.top != w.bottom;
}

// Moves the pointer to the plot area's centre, so the readout is fresh.
inline void pointAtTheCentre(ui::PlotView& plot)
{
    const QPointF centre = QRectF(plot.plotArea()).center() + QPointF(0.5, 0.5);
    QMouseEvent move(QEvent::MouseMove, centre, plot.mapToGlobal(centre), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &move);
}

inline void checkStep(const ZoomWalk& walk, const char* step)
{
    QVERIFY2(finiteWorld(walk.plot), step);
    if (walk.decadeY) {
        const WorldRect& w = walk.plot.shownWorld();
        QVERIFY2(std::min(w.top, w.bottom) >= kLowestDecade, step);
        QVERIFY2(std::max(w.top, w.bottom) <= kHighestDecade, step);
    }
    pointAtTheCentre(walk.plot);
    const QString read = walk.readout();
    QVERIFY2(!read.contains("inf") && !read.contains("nan"), qPrintable(read));
}

inline void pressTimes(const ZoomWalk& walk, Qt::Key key, int times)
{
    walk.plot.setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(&walk.plot, key);
}

// Drags from a quarter of the way in, where no node of a lab lies when the
// world is far wider than the nodes' (they all sit at the centre).
inline void dragBy(ui::PlotView& plot, QPointF by)
{
    const QRectF area(plot.plotArea());
    const QPointF from = area.topLeft() + QPointF(area.width(), area.height()) / 4;
    QTest::mousePress(&plot, Qt::LeftButton, {}, from.toPoint());
    QMouseEvent drag(QEvent::MouseMove, from + by, plot.mapToGlobal(from + by), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &drag);
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, (from + by).toPoint());
}

// Zooms out until the world is `width` wide, then drags it towards
// `centre` (a large number) by whole plot areas until it gets there or the
// numbers stop it.
inline void panTowards(const ZoomWalk& walk, double centre)
{
    const double width = std::abs(centre) / 4;
    for (int i = 0; i < 1000 && walk.plot.shownWorld().right - walk.plot.shownWorld().left < width;
         ++i)
        walk.plot.zoomAboutCentre(1e-3);
    const double areaWidth = walk.plot.plotArea().width();
    for (int i = 0; i < 200; ++i) {
        const WorldRect& w = walk.plot.shownWorld();
        const double middle = w.left / 2 + w.right / 2;
        if (std::abs(middle) >= std::abs(centre))
            break;
        dragBy(walk.plot, QPointF(centre > 0 ? -areaWidth : areaWidth, 0));
    }
}

inline void zoomToTheEndsOfTheNumbers(const ZoomWalk& walk)
{
    pressTimes(walk, Qt::Key_Plus, 400);
    checkStep(walk, "400 presses of +");
    QVERIFY2(walk.statusLine().contains("as close as the numbers allow"),
             qPrintable(walk.statusLine()));
    // From as close as the numbers allow, a press of - zooms out again.
    const WorldRect closest = walk.plot.shownWorld();
    QTest::keyClick(&walk.plot, Qt::Key_Minus);
    const WorldRect out = walk.plot.shownWorld();
    QVERIFY2(out.right - out.left > closest.right - closest.left, "- zooms out from the closest");
    QTest::keyClick(&walk.plot, Qt::Key_Home, Qt::ControlModifier);
    pressTimes(walk, Qt::Key_Minus, 400);
    checkStep(walk, "400 presses of -");
    // 1.5^400 is about 1e70: far beyond the decades of doubles, not beyond
    // the doubles themselves.
    if (walk.decadeY)
        QVERIFY2(walk.statusLine().contains("as far as the numbers reach"),
                 qPrintable(walk.statusLine()));
    for (const double centre : {1e300, -1e300}) {
        QTest::keyClick(&walk.plot, Qt::Key_Home, Qt::ControlModifier);
        panTowards(walk, centre);
        const WorldRect& w = walk.plot.shownWorld();
        QVERIFY2(std::abs(w.left / 2 + w.right / 2) >= std::abs(centre), "panned to 1e300");
        checkStep(walk, "panned to 1e300");
        dragBy(walk.plot, QPointF(centre > 0 ? -1e12 : 1e12, 0));
        checkStep(walk, "a drag past the largest doubles");
        QVERIFY2(walk.statusLine().contains("as far as the numbers reach"),
                 qPrintable(walk.statusLine()));
        pressTimes(walk, Qt::Key_Plus, 400);
        checkStep(walk, "400 presses of + at 1e300");
        QVERIFY2(walk.statusLine().contains("as close as the numbers allow"),
                 qPrintable(walk.statusLine()));
    }
}

}  // namespace tarvel::support
