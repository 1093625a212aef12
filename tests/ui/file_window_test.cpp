// The data-set browser in the real window on the offscreen platform: names
// in any encoding open, and a read that blocks leaves the window answering
// and, cancelled or failed, the given points as they were.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "support/window_controls.h"
#include "ui/qt/about_window.h"
#include "ui/qt/browser_lists.h"
#include "ui/qt/line_list.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;
using support::MessageCatcher;

namespace {

// A temporary directory removed by its names' own bytes: names that are
// not text in the locale's encoding defeat QTemporaryDir's own removal.
class ScratchDir {
public:
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(path), ignored);
    }
    QString qpath() const { return temp_.path(); }

private:
    QTemporaryDir temp_;

public:
    const std::string path = temp_.path().toStdString();
};

std::string bytes(const QByteArray& array)
{
    return array.toStdString();
}

void writeFile(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fd);
}

std::string evenFile(int count)
{
    std::string text = std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + "," + std::to_string(i) + "e-3," + std::to_string(i) + "\n";
    return text;
}

// The writing end of a named pipe, opened once the reader waits on it.
int openWriter(const std::string& path)
{
    for (int attempt = 0; attempt < 400; ++attempt) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            return fd;
        QTest::qWait(5);
    }
    return -1;
}

void writeAll(int fd, const std::string& text)
{
    QCOMPARE(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

}  // namespace

class FileWindowTest : public QObject {
    Q_OBJECT

private:

    // Clicks the File1 entry whose bytes are `name`.
    bool clickFile(MainWindow& window, const std::string& name)
    {
        if (!support::listed(window, "File1"))
            return false;
        auto* files = find<QListWidget>(window, "File1");
        for (int row = 0; row < files->count(); ++row) {
            QListWidgetItem* item = files->item(row);
            if (bytes(item->data(Qt::UserRole).toByteArray()) != name)
                continue;
            files->scrollToItem(item);
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                              files->visualItemRect(item).center());
            return true;
        }
        return false;
    }

    QProgressDialog* progress(MainWindow& window)
    {
        return window.findChild<QProgressDialog*>("loadProgress");
    }

    QString status(MainWindow& window) { return find<QLabel>(window, "statusSentence")->text(); }

    struct Kept {
        QString textNU;
        QStringList lines;
        double nU;
        PointArray xU, yU;
    };
    Kept kept(MainWindow& window)
    {
        QStringList lines;
        const auto* list = find<LineList>(window, "List1");
        for (int row = 0; row < list->count(); ++row)
            lines << list->line(row);
        return {find<QLineEdit>(window, "Text_nU")->text(), lines, window.form().nU,
                window.form().xU, window.form().yU};
    }
    void expectKept(MainWindow& window, const Kept& before)
    {
        const Kept now = kept(window);
        QCOMPARE(now.textNU, before.textNU);
        QCOMPARE(now.lines, before.lines);
        QCOMPARE(now.nU, before.nU);
        QVERIFY(now.xU == before.xU);
        QVERIFY(now.yU == before.yU);
    }

private slots:
    void namesInAnyEncodingAreListedAndOpen()
    {
        const ScratchDir temp;
        const std::string& dir = temp.path;
        const std::string names[] = {"bad-\xFF\xFE.dsf", "M\xFCller.dsf", "new\nline.dsf"};
        int count = 2;
        for (const std::string& name : names)
            writeFile(dir + "/" + name, evenFile(count++));
        writeFile(dir + "/.hidden.dsf", evenFile(2));
        const std::string latin1Dir = dir + "/d\xE9j\xE0";
        QCOMPARE(::mkdir(latin1Dir.c_str(), 0700), 0);
        QCOMPARE(::mkdir((dir + "/.git").c_str(), 0700), 0);
        writeFile(latin1Dir + "/inner.dsf", evenFile(7));

        MainWindow window(temp.qpath());
        window.show();
        MessageCatcher catcher;
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        auto* files = find<QListWidget>(window, "File1");
        QVERIFY(support::listed(window, "File1"));
        QCOMPARE(files->count(), 3);
        count = 2;
        for (const std::string& name : names) {
            QTest::mouseClick(find<QRadioButton>(window, "Option_SinFunc"), Qt::LeftButton);
            QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
            QVERIFY(clickFile(window, name));
            QTRY_VERIFY(find<QLineEdit>(window, "Text_nU")->text() == QString::number(count) ||
                        !catcher.texts.isEmpty());
            QVERIFY2(catcher.texts.isEmpty(), qPrintable(catcher.texts.join("; ")));
            QVERIFY2(status(window).startsWith("Loaded "), qPrintable(status(window)));
            QVERIFY(!status(window).contains('\n'));
            ++count;
        }

        auto* dirs = find<QListWidget>(window, "Dir1");
        QVERIFY(support::listed(window, "Dir1"));
        QVERIFY(dirs->findItems(".git", Qt::MatchExactly).isEmpty());
        QListWidgetItem* latin1 = nullptr;
        for (int row = 0; row < dirs->count(); ++row)
            if (bytes(dirs->item(row)->data(Qt::UserRole).toByteArray()) == latin1Dir)
                latin1 = dirs->item(row);
        QVERIFY(latin1);
        emit dirs->itemActivated(latin1);
        QVERIFY2(catcher.texts.isEmpty(), qPrintable(catcher.texts.join("; ")));
        QCOMPARE(window.form().givenPointsOrigin().fileLoaded, true);
        QVERIFY(support::listed(window, "File1"));
        QCOMPARE(files->count(), 1);
        QTest::mouseClick(find<QRadioButton>(window, "Option_SinFunc"), Qt::LeftButton);
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        QVERIFY(clickFile(window, "inner.dsf"));
        QTRY_COMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("7"));
    }

    // A pipe nobody writes to holds its reader; the window keeps answering,
    // offers Cancel and marks the file being read. Cancel is no error: the
    // busy box closes with the read, nothing changes, and the next read of
    // the same pipe gets exactly the data written after it began.
    void cancelledReadStopsAndTheNextReadGetsItsOwnData()
    {
        const ScratchDir temp;
        const std::string& dir = temp.path;
        const std::string pipe = dir + "/slow.dsf";
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        writeFile(dir + "/good.dsf", evenFile(4));

        MainWindow window(temp.qpath());
        window.show();
        QTest::mouseClick(find<QPushButton>(window, "Command1"), Qt::LeftButton);
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        const Kept before = kept(window);
        auto* files = find<QListWidget>(window, "File1");
        {
            MessageCatcher catcher;
            QVERIFY(clickFile(window, "slow.dsf"));
            QTRY_VERIFY(progress(window) && progress(window)->isVisible());

            // The window answers: events run, the About window opens, and the
            // commands and other files are refused while the read runs.
            bool ran = false;
            QTimer::singleShot(0, [&ran] { ran = true; });
            QTRY_VERIFY(ran);
            window.findChild<QAction*>("Mn_About")->trigger();
            QVERIFY(window.about().window() && window.about().window()->isVisible());
            window.about().window()->close();
            window.form().Command1_Click();
            window.form().Command2_Click();
            QVERIFY(clickFile(window, "good.dsf"));
            QTRY_COMPARE(catcher.texts.size(), 3);
            for (const QString& text : catcher.texts)
                QVERIFY2(text.startsWith("A data-set file is being read."), qPrintable(text));
            QCOMPARE(bytes(files->currentItem()->data(Qt::UserRole).toByteArray()), "slow.dsf");
            QVERIFY(files->currentItem()->font().bold());
            expectKept(window, before);
        }

        MessageCatcher catcher("A data-set file is being read.");
        bool busyShown = false;
        QTimer::singleShot(0, [&] {
            const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            busyShown = box && box->text().startsWith("A data-set file is being read.");
            progress(window)->findChild<QPushButton*>()->click();  // Cancel
        });
        bool gaveUp = false;  // a safety net: the box should close at once
        QTimer::singleShot(15000, [&gaveUp] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                gaveUp = true;
                box->accept();
            }
        });
        window.form().Command1_Click();  // returns when its busy box closes
        QVERIFY(busyShown);
        QVERIFY(!gaveUp);
        QCOMPARE(status(window), QString("Reading slow.dsf was cancelled; nothing changed. The "
                                         "former given points are kept."));
        QTRY_VERIFY(!progress(window));
        QVERIFY(!files->currentItem()->font().bold());
        expectKept(window, before);

        QVERIFY(clickFile(window, "slow.dsf"));
        const int writer = openWriter(pipe);
        QVERIFY(writer >= 0);
        for (const char* line : {"3\n", "\"a\",0,1\n", "\"b\",0.5,2\n", "\"c\",1,0\n"}) {
            writeAll(writer, line);
            QTest::qWait(30);
        }
        QTRY_COMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("3"));
        ::close(writer);
        QCOMPARE(catcher.texts, QStringList());
        QCOMPARE(window.form().xU[1], 0.5);
        QCOMPARE(window.form().yU[0], 1.0);
        QCOMPARE(window.form().yU[1], 2.0);
        QCOMPARE(window.form().yU[2], 0.0);
        QCOMPARE(status(window),
                 QString("Loaded slow.dsf: 3 points. Press OK to list and draw them."));
    }

    // A writer that stays after its last record: the load ends with that
    // record, not when the writer goes.
    void pipeKeptOpenLoadsAtItsLastRecord()
    {
        const ScratchDir temp;
        const std::string pipe = temp.path + "/open.dsf";
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        MainWindow window(temp.qpath());
        window.show();
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        MessageCatcher catcher;
        QVERIFY(clickFile(window, "open.dsf"));
        const int writer = openWriter(pipe);
        QVERIFY(writer >= 0);
        writeAll(writer, "2\n0,0,1\n1,1,0\n");
        QTRY_COMPARE(find<QLineEdit>(window, "Text_nU")->text(), QString("2"));
        QVERIFY(!progress(window));
        ::close(writer);
        QCOMPARE(catcher.texts, QStringList());
    }

    // The first records arrive, the window keeps answering, then a bad item:
    // the load fails as a whole.
    void loadThatFailsHalfWayKeepsEverything()
    {
        const ScratchDir temp;
        const std::string& dir = temp.path;
        const std::string pipe = dir + "/half.dsf";
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);

        MainWindow window(temp.qpath());
        window.show();
        QTest::mouseClick(find<QPushButton>(window, "Command1"), Qt::LeftButton);
        QTest::mouseClick(find<QRadioButton>(window, "Option_DataSet"), Qt::LeftButton);
        const Kept before = kept(window);
        MessageCatcher catcher;
        QVERIFY(clickFile(window, "half.dsf"));
        const int writer = openWriter(pipe);
        QVERIFY(writer >= 0);
        writeAll(writer, "4\n0,0,1\n1,0.5,2\n");
        QTRY_VERIFY(progress(window) && progress(window)->isVisible());
        expectKept(window, before);
        writeAll(writer, "2,abc,3\n3,1,0\n");
        ::close(writer);
        QTRY_COMPARE(catcher.texts, QStringList{"Hata oluştu"});
        QCOMPARE(status(window), QString("half.dsf, line 4: 'abc' is not a number (the x of "
                                         "point 2). The former given points are kept."));
        QTRY_VERIFY(!progress(window));
        expectKept(window, before);
        QVERIFY(find<QWidget>(window, "Frame_DataSet")->isVisible());
    }
};

QTEST_MAIN(FileWindowTest)
#include "file_window_test.moc"
