#include "ui/qt/file_save.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

namespace tarvel::ui {

QString saveWhole(const QString& fileName, const std::function<bool(QIODevice&)>& write)
{
    // QSaveFile writes beside the target and renames only on commit.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!write(file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() || file.error() == QFileDevice::NoError
                   ? QObject::tr("the file could not be written")
                   : reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString saveWhole(const QString& fileName, const QByteArray& bytes)
{
    return saveWhole(fileName, [&bytes](QIODevice& device) {
        return device.write(bytes) == bytes.size();
    });
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
