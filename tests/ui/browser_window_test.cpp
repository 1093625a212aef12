// The data-set browser of the real window on the offscreen platform: what
// the headless lists only imitate.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/window_controls.h"
#include "ui/qt/main_window.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::find;
using support::MessageCatcher;

namespace {

QStringList entryTexts(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QListWidgetItem* entry(QListWidget* list, const QString& text)
{
    return list->findItems(text, Qt::MatchExactly).value(0);
}

// "f00042.dsf": names that sort as their numbers do.
QString fileName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "f%05d.dsf", i);
    return QString::fromLatin1(name);
}

bool writeFile(const QString& path, const QByteArray& text)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
    ::close(fd);
    return written;
}

}  // namespace

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
        QVERIFY(writeFile(root + "/kept.dsf", "0\n"));

        MainWindow window(root);
        window.show();
        auto* dirs = find<QListWidget>(window, "Dir1");
        auto* files = find<QListWidget>(window, "File1");
        QVERIFY(support::listed(window, "Dir1"));
        QListWidgetItem* gone = entry(dirs, "gone");
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
        QVERIFY(support::listed(window, "File1"));
        QCOMPARE(entryTexts(files), QStringList{"kept.dsf"});
    }

    // A folder of many files lists off the window's thread: the user goes
    // on clicking (loading files already shown, choosing options) while
    // the names arrive; in the end every name is there once, in order. A
    // failed load lists the folder again and keeps the selection and the
    // scroll position; a newer listing replaces one that has not finished.
    void bigFolderListsWhileTheUserKeepsClicking()
    {
        constexpr int kFiles = 20000;
        constexpr int kBad = 12345;
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString root = QDir(scratch.path()).absolutePath();
        QVERIFY(QDir(root).mkdir("big"));
        QVERIFY(QDir(root).mkdir("small"));
        QVERIFY(writeFile(root + "/small/only.dsf", "1\n0,0.5,7\n"));
        QStringList names;
        for (int i = 0; i < kFiles; ++i) {
            names << fileName(i);
            QVERIFY(writeFile(root + "/big/" + names.back(), i == kBad ? "x\n" : "1\n0,0.5,7\n"));
        }

        MainWindow window(root);
        window.show();
        MessageCatcher catcher;
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        auto* dirs = find<QListWidget>(window, "Dir1");
        auto* files = find<FolderListWidget>(window, "File1");
        QVERIFY(support::listed(window, "Dir1"));
        emit dirs->itemActivated(entry(dirs, "big"));
        QVERIFY(files->isListing());
        int clicksWhileListing = 0;
        while (files->isListing()) {
            ++clicksWhileListing;
            QTest::mouseClick(find<QRadioButton>(window, "Option_SinFunc"), Qt::LeftButton);
            QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
            if (files->count() > 0) {
                find<QLineEdit>(window, "Text_nU")->setText("");
                files->setCurrentRow(0);
                emit files->itemClicked(files->item(0));
                QTRY_COMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("1"));
            }
            QTest::qWait(1);
        }
        QVERIFY(clicksWhileListing > 0);
        QCOMPARE(catcher.texts, QStringList());
        QCOMPARE(entryTexts(files), names);

        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        QListWidgetItem* bad = files->item(kBad);
        files->scrollToItem(bad, QAbstractItemView::PositionAtCenter);
        const int scrolled = files->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        files->setCurrentItem(bad);
        emit files->itemClicked(bad);
        QTRY_COMPARE(catcher.texts, QStringList{"Hata oluştu"});
        QVERIFY(support::listed(window, "File1"));
        QCOMPARE(files->count(), kFiles);
        QVERIFY(files->currentItem());
        QCOMPARE(files->currentItem()->text(), fileName(kBad));
        QCOMPARE(files->verticalScrollBar()->value(), scrolled);

        // Back to the big folder and, before its names are all in, on to
        // the small one: only the small folder's names are listed.
        emit dirs->itemActivated(entry(dirs, ".."));
        QVERIFY(support::listed(window, "Dir1"));
        emit dirs->itemActivated(entry(dirs, "big"));
        QVERIFY(files->isListing());
        emit dirs->itemActivated(entry(dirs, ".."));
        QVERIFY(support::listed(window, "Dir1"));
        emit dirs->itemActivated(entry(dirs, "small"));
        QVERIFY(support::listed(window, "File1"));
        QTest::qWait(50);  // anything the replaced listing still found goes nowhere
        QCOMPARE(entryTexts(files), QStringList{"only.dsf"});
    }
};

QTEST_MAIN(BrowserWindowTest)
#include "browser_window_test.moc"
