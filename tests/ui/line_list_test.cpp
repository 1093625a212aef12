// The list that the commands append to: every line comes back as it went
// in and in order, lines reach the view even when no command asks for
// them to be shown, and no line is cut.
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>

#include "ui/qt/line_list.h"

using tarvel::ui::LineList;

namespace {

QString shown(const LineList& list, int row)
{
    return list.model()->index(row, 0).data().toString();
}

}  // namespace

class LineListTest : public QObject {
    Q_OBJECT

private slots:
    void linesComeBackAsTheyWentIn_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("given point") << QByteArray("  1   0.1000   0.5878");
        QTest::newRow("one blank") << QByteArray(" ");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("decimal comma") << QByteArray("10   0,5000   -1,0000");
        QTest::newRow("beyond ASCII") << QByteArray("Hata olu\xc5\x9ftu");
    }

    void linesComeBackAsTheyWentIn()
    {
        QFETCH(QByteArray, utf8);
        LineList list;
        list.appendLine("first");
        list.appendLine(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
        list.appendLine("last");
        list.showLastLine();
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.model()->rowCount(), 3);
        const QString expected = QString::fromUtf8(utf8);
        QCOMPARE(list.line(0), QString("first"));
        QCOMPARE(list.line(1), expected);
        QCOMPARE(list.line(2), QString("last"));
        QCOMPARE(shown(list, 1), expected);
        QCOMPARE(shown(list, 2), QString("last"));
    }

    // A command that appends lines and never asks for the last one to be
    // shown still gets its lines on screen once the program waits again.
    void linesReachTheViewWithoutShowLastLine()
    {
        LineList list;
        list.appendLine("a");
        list.appendLine("b");
        QCOMPARE(list.count(), 2);
        QTRY_COMPARE(list.model()->rowCount(), 2);
        QCOMPARE(shown(list, 1), QString("b"));
        QCOMPARE(list.currentLine(), -1);
    }

    void clearForgetsEveryLine()
    {
        LineList list;
        for (int i = 0; i < 50; ++i)
            list.appendLine("line " + std::to_string(i));
        list.showLastLine();
        list.appendLine("waiting");
        list.clearLines();
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.model()->rowCount(), 0);
        QCOMPARE(list.currentLine(), -1);
        QCoreApplication::processEvents();
        QCOMPARE(list.model()->rowCount(), 0);
        list.appendLine("again");
        list.showLastLine();
        QCOMPARE(list.line(0), QString("again"));
        QCOMPARE(list.currentLine(), 0);
    }

    // The column is as wide as the longest line, so a long coefficient
    // line is not cut but brings a horizontal scroll bar; after a clear the
    // column is the list's width again.
    void longLinesAreNotCut()
    {
        LineList list;
        list.resize(200, 150);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const std::string wide(120, '8');
        list.appendLine("short");
        list.appendLine(wide);
        list.appendLine("short again");
        list.showLastLine();
        QCoreApplication::processEvents();
        const int needed = list.fontMetrics().horizontalAdvance(QString::fromStdString(wide));
        QVERIFY2(list.columnWidth(0) >= needed,
                 qPrintable(QString("column %1, line %2").arg(list.columnWidth(0)).arg(needed)));
        QVERIFY(list.horizontalScrollBar()->maximum() > 0);
        list.clearLines();
        QCoreApplication::processEvents();
        QCOMPARE(list.columnWidth(0), list.viewport()->width());
    }

    void rowsFollowTheFont()
    {
        LineList list;
        list.appendLine("1   0.1000   0.5878");
        list.showLastLine();
        QVERIFY(list.rowHeight(0) >= list.fontMetrics().height());
        QFont larger = list.font();
        larger.setPointSizeF(larger.pointSizeF() * 3);
        list.setFont(larger);
        QVERIFY2(list.rowHeight(0) >= QFontMetrics(larger).height(),
                 qPrintable(QString("row %1 high").arg(list.rowHeight(0))));
    }

    void homeAndEndGoToTheFirstAndLastLine()
    {
        LineList list;
        list.resize(200, 100);
        list.show();
        for (int i = 0; i < 40; ++i)
            list.appendLine(std::to_string(i));
        list.showLastLine();
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(list.currentLine(), 0);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentLine(), 1);
        QTest::keyClick(&list, Qt::Key_End);
        QCOMPARE(list.currentLine(), 39);
    }
};

QTEST_MAIN(LineListTest)
#include "line_list_test.moc"
