#include "ui/qt/file_save.h"

#include <QBuffer>
#include <QEventLoop>
#include <QImage>
#include <QProgressDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSettings>

#include <thread>

#include "data/printable_text.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {
namespace {

// A PNG of this many pixels takes a good part of a second to encode.
constexpr qint64 kPixelsSavedAtOnce = 4'000'000;

// Why an existing target may not be replaced; empty when it may.
QString refusedTarget(const QString& fileName)
{
    const QFileInfo target(fileName);  // a symbolic link counts as what it points to
    if (!target.exists() || target.isFile())
        return {};
    if (target.isDir())
        return QObject::tr("it is a folder, not a file");
    return QObject::tr("it is not a regular file (a device or a named pipe), and saving "
                       "would replace it");
}

QString reasonOf(const QFileDevice& file)
{
    const QString reason = file.error() == QFileDevice::NoError ? QString() : file.errorString();
    // Qt gives no system reason for some failed flushes and renames.
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        return QObject::tr("the file could not be written whole (is the disk full?)");
    return reason;
}

// A short write sets no error; writing on after it gives the system's reason
// (no space left, the file too large).
bool writeAll(QFileDevice& file, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            return false;
        written += step;
    }
    return true;
}

}  // namespace

QString saveWhole(const QString& fileName, const std::function<bool(QIODevice&)>& write)
{
    // Written to memory first: a writer (an image encoder, a text stream)
    // may not report a failed write, and the device may clear its error.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        return QObject::tr("the file could not be written");
    return saveWhole(fileName, buffer.data());
}

QString saveImageAsPng(QWidget* parent, const QString& fileName, const QSize& pixels,
                       const std::function<QImage()>& paint)
{
    const auto save = [&fileName, &paint] {
        const QImage image = paint();
        if (image.isNull())
            return QObject::tr("there is not memory enough for the picture");
        return saveWhole(fileName, [&image](QIODevice& device) { return image.save(&device, "PNG"); });
    };
    if (qint64{pixels.width()} * pixels.height() < kPixelsSavedAtOnce)
        return save();
    QProgressDialog note(QStringLiteral("Saving the picture as %1 (%2 × %3 pixels)…")
                             .arg(shownFileName(QFileInfo(fileName).fileName()))
                             .arg(pixels.width())
                             .arg(pixels.height()),
                         QString(), 0, 0, parent);
    note.setObjectName("saveProgress");
    note.setWindowTitle(QStringLiteral("Saving"));
    note.setWindowModality(Qt::ApplicationModal);
    note.setMinimumDuration(0);
    note.show();
    QEventLoop waiting;
    QString reason;
    std::thread worker([&] {
        reason = save();
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    waiting.exec();
    worker.join();
    return reason;
}

QString saveWhole(const QString& fileName, const QByteArray& bytes)
{
    if (const QString refused = refusedTarget(fileName); !refused.isEmpty())
        return refused;
    // QSaveFile writes beside the target and renames only on commit.
    QSaveFile file(fileName);
    // Unbuffered: a buffered write would wait in the device, and commit()
    // renames even when flushing it fails, without a reason. The size the
    // file then has shows that every byte reached it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return reasonOf(file);
    if (!writeAll(file, bytes) || !file.flush() || file.size() != bytes.size()) {
        const QString reason = reasonOf(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}

QString shownFileName(const QString& fileName)
{
    return qstr(isolatedText(QFileInfo(fileName).fileName().toStdString()));
}

QString notSavedText(const QString& fileName, const QString& reason)
{
    return QObject::tr("%1 was not saved: %2. Any earlier file of that name is unchanged.")
        .arg(shownFileName(fileName), reason);
}

void keepFileDialogsFromSavingState()
{
    // Qt's file dialog writes its state to the user's settings whenever it
    // closes, with no switch to stop it, and the program keeps no settings
    // of its own. The user's settings are put below a path that cannot be
    // a folder (a device file), where nobody can create a file: the dialog
    // reads nothing there and writes nothing.
    const QString nowhere = QStringLiteral("/dev/null/settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

namespace {

// The folder last chosen for each kind of file; kept for the session only.
QHash<QString, QString>& lastFolders()
{
    static QHash<QString, QString> folders;
    return folders;
}

QString kindOf(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

}  // namespace

QString saveDialogStart(const QString& suggestedName)
{
    const QString folder = lastFolders().value(kindOf(suggestedName));
    return folder.isEmpty() ? suggestedName : QDir(folder).filePath(suggestedName);
}

QString askSaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                        const QString& filters)
{
    // The dialog itself asks before a file is replaced.
    const QString chosen =
        QFileDialog::getSaveFileName(parent, title, saveDialogStart(suggestedName), filters);
    if (!chosen.isEmpty())
        lastFolders().insert(kindOf(suggestedName), QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace tarvel::ui
