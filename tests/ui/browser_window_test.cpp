// The data-set browser of the real window on the offscreen platform: what
// the headless lists only imitate.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/qt/main_window.h"

using namespace tarvel::ui;

class BrowserWindowTest : public QObject {
    Q_OBJECT

private slots:
    // A directory that vanished after it was listed: opening it keeps both
    // lists where they were and says which directory cannot be read.
    void vanishedDirectoryKeepsBothListsAndSaysSo()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString root = QDir(scratch.path()).absolutePath();
        QVERIFY(QDir(root).mkdir("gone"));
        QFile kept(root + "/kept.dsf");
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("0\n");
        kept.close();

        MainWindow window(root);
        window.show();
        auto* dirs = window.findChild<QListWidget*>("Dir1");
        auto* files = window.findChild<QListWidget*>("File1");
        QVERIFY(dirs && files);
        QListWidgetItem* gone = dirs->findItems("gone", Qt::MatchExactly).value(0);
        QVERIFY(gone);
        const QString gonePath = gone->data(Qt::UserRole).toString();
        const int dirRows = dirs->count();
        QVERIFY(QDir(root).rmdir("gone"));

        QString text;
        QTimer::singleShot(0, [&text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->accept();
            }
        });
        emit dirs->itemActivated(gone);
        QCOMPARE(text, "The directory " + gonePath + " cannot be read.");
        QCOMPARE(dirs->count(), dirRows);
        QCOMPARE(dirs->item(0)->data(Qt::UserRole).toString(), QDir::toNativeSeparators(root));
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), QString("kept.dsf"));
    }
};

QTEST_MAIN(BrowserWindowTest)
#include "browser_window_test.moc"
