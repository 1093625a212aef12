#include "ui/qt/file_save.h"

#include <QFileDialog>
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

QString askSaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                        const QString& filters)
{
    // The dialog itself asks before a file is replaced.
    return QFileDialog::getSaveFileName(parent, title, suggestedName, filters);
}

}  // namespace tarvel::ui
