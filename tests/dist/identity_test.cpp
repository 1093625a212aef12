// The identity the running program gives itself matches what is installed
// beside it: name, version, desktop id, icon; the About window shows the
// version without disturbing its fixed lines.
#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "ui/control_table.h"
#include "ui/qt/about_window.h"
#include "ui/qt/app_identity.h"
#include "ui/qt/main_window.h"

using namespace tarvel::ui;

class IdentityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { applyApplicationIdentity(); }

    void namesMatchTheInstalledFiles()
    {
        QCOMPARE(QApplication::applicationName(), QString("Tarvel"));
        QCOMPARE(QApplication::applicationDisplayName(), QString("Tarvel"));
        QCOMPARE(QApplication::applicationVersion(), QString(EXPECTED_VERSION));
        QCOMPARE(QApplication::organizationDomain(), QString("example.org"));
        QCOMPARE(QGuiApplication::desktopFileName(), QString(EXPECTED_ID));
    }

    // Setting the display name explicitly makes Qt append " — Tarvel" to the
    // title bar of every window; it must only follow the application name.
    void titleBarsKeepTheirFixedTitles()
    {
        const QString name = QApplication::applicationName();
        QApplication::setApplicationName("Renamed");
        const QString display = QApplication::applicationDisplayName();
        QApplication::setApplicationName(name);
        QCOMPARE(display, QString("Renamed"));
    }

    void iconComesInBothSizesAndMarksEveryWindow()
    {
        const QIcon icon = applicationIcon();
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY2(sizes.contains(QSize(48, 48)), "the 48-pixel icon is not compiled in");
        QVERIFY2(sizes.contains(QSize(256, 256)), "the 256-pixel icon is not compiled in");
        QCOMPARE(icon.pixmap(QSize(48, 48)).size(), QSize(48, 48));
        MainWindow window;
        AboutWindow about;
        QCOMPARE(window.windowIcon().availableSizes(), sizes);
        QCOMPARE(about.windowIcon().availableSizes(), sizes);
    }

    void aboutShowsTheVersionBesideItsFixedLines()
    {
        AboutWindow about;
        auto* version = about.findChild<QLabel*>("Label_Version");
        QVERIFY(version);
        QCOMPARE(version->text(), QString("Version " EXPECTED_VERSION));
        QVERIFY(about.rect().contains(version->geometry()));
        const QSize needed = version->sizeHint();
        QVERIFY2(needed.width() <= version->width() && needed.height() <= version->height() + 2,
                 "the version does not fit its place");
        int fixedLines = 0;
        for (const AboutLabelSpec& spec : aboutLabels()) {
            auto* label =
                about.findChild<QLabel*>(QString::fromUtf8(spec.name.data(), spec.name.size()));
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromUtf8(spec.text.data(), spec.text.size()));
            QVERIFY2(!label->geometry().intersects(version->geometry()),
                     qPrintable(label->objectName() + " overlaps the version"));
            ++fixedLines;
        }
        QCOMPARE(fixedLines, 5);
    }
};

QTEST_MAIN(IdentityTest)
#include "identity_test.moc"
