// Every kind of save in the real windows when the file system refuses the
// bytes (a file-size limit makes each write past it fail, as a full disk
// does) or the target is not a regular file: the reason is shown with the
// file's name and the earlier file stays whole.
#include <QDirIterator>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <functional>

#include "support/window_controls.h"
#include "ui/qt/export_dialog.h"
#include "ui/qt/file_save.h"
#include "ui/qt/lab_plot.h"
#include "ui/qt/lab_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_widget.h"
#include "ui/qt/plot_export.h"
#include "ui/qt/plot_view.h"

using namespace tarvel;
using namespace tarvel::ui;
using support::click;
using support::find;

namespace {

// Writes past `bytes` fail with EFBIG while this lives, in this process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &before_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = before_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
    void (*oldSignal_)(int) = nullptr;
};

// Answers the save dialog with `path` (replacing a file there), and keeps
// the text of any other message box that opens, then closes it.
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(const QString& path)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, path] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                if (QAbstractButton* replace = box->button(QMessageBox::Yes)) {
                    replace->click();
                    return;
                }
                messages << box->text() + '\n' + box->informativeText();
                box->accept();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                dialog->selectFile(path);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (auto* exporting = qobject_cast<ExportDialog*>(modal)) {
                // Export once; a failed export leaves the dialog open.
                if (messages.isEmpty())
                    QMetaObject::invokeMethod(
                        exporting->findChild<QPushButton*>("exportSaveButton"), "click",
                        Qt::QueuedConnection);
                else
                    exporting->reject();
            }
        });
        timer_.start();
    }
    QStringList messages;

private:
    QTimer timer_;
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

}  // namespace

class SaveFaultsTest : public QObject {
    Q_OBJECT

    QTemporaryDir configHome_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<LabWindow> lab_;

    // The save of that kind, as its menu command does it; "" on success.
    QString save(const QString& kind, const QString& path)
    {
        PictureWidget& picture = main_->picture();
        if (kind == "given points")
            return picture.saveGivenPoints(path);
        if (kind == "values")
            return picture.saveValues(path);
        if (kind == "picture")
            return picture.savePicture(path);
        const auto labReason = [](const std::optional<QString>& why) { return why.value_or(""); };
        if (kind == "lab values")
            return labReason(lab_->saveValues(path));
        if (kind == "lab nodes")
            return labReason(lab_->saveNodes(path));
        if (kind == "lab study")
            return labReason(lab_->saveStudy(path));
        if (kind == "lab export") {
            ExportSettings settings;
            for (const ExportFormat format : {ExportFormat::Png, ExportFormat::Svg,
                                              ExportFormat::Pdf, ExportFormat::Tex,
                                              ExportFormat::Csv})
                if (path.endsWith("." + exportSuffix(format)))
                    settings.format = format;
            return exportPlot(lab_->plot(), settings, path);
        }
        return labReason(lab_->savePicture(path));
    }

    static void saveKinds()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("given points") << "given points"
                                      << "given.dsf";
        QTest::newRow("values") << "values"
                                << "values.csv";
        QTest::newRow("picture png") << "picture"
                                     << "picture.png";
        QTest::newRow("picture svg") << "picture"
                                     << "picture.svg";
        QTest::newRow("picture pdf") << "picture"
                                     << "picture.pdf";
        QTest::newRow("lab values") << "lab values"
                                    << "lab.csv";
        QTest::newRow("lab nodes") << "lab nodes"
                                   << "lab.dsf";
        QTest::newRow("lab picture png") << "lab picture"
                                         << "lab.png";
        QTest::newRow("lab picture svg") << "lab picture"
                                         << "lab.svg";
        QTest::newRow("lab picture pdf") << "lab picture"
                                         << "lab.pdf";
        QTest::newRow("picture tex") << "picture"
                                     << "picture.tex";
        QTest::newRow("lab picture tex") << "lab picture"
                                         << "lab.tex";
        QTest::newRow("lab study") << "lab study"
                                   << "lab.tarvel";
        for (const char* suffix : {"png", "svg", "pdf", "tex", "csv"})
            QTest::newRow(qPrintable(QStringLiteral("lab export %1").arg(suffix)))
                << "lab export" << QStringLiteral("figure.%1").arg(suffix);
    }

private slots:
    void initTestCase()
    {
        // Qt keeps its own settings below this folder, read from here on.
        QVERIFY(configHome_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        keepFileDialogsFromSavingState();
        main_ = std::make_unique<MainWindow>();
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        click(*main_, "Command1");
        click(*main_, "Command2");
        LabStart start;
        start.settings.count = 11;
        lab_ = std::make_unique<LabWindow>(std::move(start));
        lab_->resize(900, 600);
        lab_->show();
        QVERIFY(QTest::qWaitForWindowExposed(lab_.get()));
    }

    void fullDiskKeepsTheEarlierFileAndSaysWhy_data() { saveKinds(); }
    void fullDiskKeepsTheEarlierFileAndSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QCOMPARE(saveWhole(path, QByteArray("earlier\n")), QString());
        QString reason;
        {
            // Every save writes more than this; the earlier file is smaller.
            FileSizeLimit full(64);
            reason = save(kind, path);
        }
        QVERIFY2(!reason.isEmpty(), "the save reported success");
        QCOMPARE(contents(path), QByteArray("earlier\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
        QCOMPARE(save(kind, path), QString());  // with room again it is saved
        QVERIFY(contents(path).size() > 64);
    }

    void nonRegularTargetIsRefusedAndKept_data() { saveKinds(); }
    void nonRegularTargetIsRefusedAndKept()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString pipe = dir.filePath(name);
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString linkToPipe = dir.filePath("link-" + name);
        QVERIFY(QFile::link(pipe, linkToPipe));
        const QString folder = dir.filePath("folder-" + name);
        QVERIFY(QDir().mkdir(folder));
        for (const auto& [target, says] : {std::pair{pipe, "not a regular file"},
                                           {linkToPipe, "not a regular file"},
                                           {folder, "a folder"}}) {
            QVERIFY2(save(kind, target).contains(says), qPrintable(target));
            QVERIFY(!QFileInfo(target).isFile());
        }
        QVERIFY(QFileInfo(linkToPipe).isSymLink());
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                     .size(),
                 3);
    }

    // Through the menu command and its dialog: the message names the file,
    // says why, and that the earlier file is unchanged.
    void failedSaveMessageNamesTheFile_data()
    {
        QTest::addColumn<bool>("inLab");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("name");
        QTest::newRow("main window") << false << "saveGivenPointsAction"
                                     << "full.dsf";
        QTest::newRow("lab") << true << "labSaveNodesAction"
                             << "full.dsf";
        QTest::newRow("lab export") << true << "labExportAction"
                                    << "full.pdf";
    }
    void failedSaveMessageNamesTheFile()
    {
        QFETCH(bool, inLab);
        QFETCH(QString, action);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QCOMPARE(saveWhole(path, QByteArray("earlier\n")), QString());
        QWidget& window = inLab ? static_cast<QWidget&>(*lab_) : *main_;
        SaveDialogAnswer answer(path);
        {
            FileSizeLimit full(64);
            find<QAction>(window, qPrintable(action))->trigger();
        }
        QCOMPARE(answer.messages.size(), 1);
        const QString message = answer.messages[0];
        QVERIFY2(message.contains(name) && message.contains("File too large"),
                 qPrintable(message));
        QCOMPARE(contents(path), QByteArray("earlier\n"));
        const QString status = find<QLabel>(window, inLab ? "labStatus" : "statusSentence")->text();
        QVERIFY2(status.startsWith(name + " was not saved: ") &&
                     status.endsWith("Any earlier file of that name is unchanged."),
                 qPrintable(status));
    }

    // A PNG too large to draw in reasonable time and memory is refused with
    // its size before anything is drawn; SVG and PDF stay small at any size.
    void hugePngIsRefusedWithItsSize_data()
    {
        QTest::addColumn<bool>("inLab");
        QTest::newRow("main window") << false;
        QTest::newRow("lab") << true;
    }
    void hugePngIsRefusedWithItsSize()
    {
        QFETCH(bool, inLab);
        PlotView& plot = inLab ? static_cast<PlotView&>(lab_->plot()) : main_->picture();
        const QSize shown = plot.size();
        plot.setMinimumSize(0, 0);
        plot.resize(8000, 6000);
        QTemporaryDir dir;
        const QString reason = save(inLab ? "lab picture" : "picture", dir.filePath("huge.png"));
        const QSize pixels = plot.pictureSize(2);
        const QString pdf = save(inLab ? "lab picture" : "picture", dir.filePath("huge.pdf"));
        plot.resize(shown);
        QVERIFY2(reason.contains(
                     QStringLiteral("%1 × %2 pixels").arg(pixels.width()).arg(pixels.height())),
                 qPrintable(reason));
        QVERIFY(!QFile::exists(dir.filePath("huge.png")));
        QCOMPARE(pdf, QString());
    }

    // The save dialog writes the file asked for and nothing else: Qt's
    // file dialog would keep its history and sizes in QtProject.conf.
    void saveDialogWritesOnlyTheFileAskedFor()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("asked.dsf");
        {
            SaveDialogAnswer answer(path);
            find<QAction>(*lab_, "labSaveNodesAction")->trigger();
            QVERIFY2(answer.messages.isEmpty(), qPrintable(answer.messages.join('\n')));
        }
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"asked.dsf"});
        QDirIterator written(configHome_.path(), QDir::Files | QDir::Hidden,
                             QDirIterator::Subdirectories);
        QVERIFY2(!written.hasNext(), qPrintable(written.hasNext() ? written.next() : QString()));
    }
};

QTEST_MAIN(SaveFaultsTest)
#include "save_faults_test.moc"
