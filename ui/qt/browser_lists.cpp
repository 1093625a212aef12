#include "ui/qt/browser_lists.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QStorageInfo>

#include "data/printable_text.h"
#include "ui/file_system.h"

namespace tarvel::ui {
namespace {

// The name as the user reads it; the bytes themselves ride along in the
// item's data.
QString shown(const std::string& bytes)
{
    return QString::fromStdString(printableText(bytes));
}

QByteArray bytesOf(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string itemBytes(const QListWidgetItem* item)
{
    return item->data(Qt::UserRole).toByteArray().toStdString();
}

QListWidgetItem* addEntry(QListWidget* list, const QIcon& icon, const QString& text,
                          const std::string& bytes)
{
    auto* item = new QListWidgetItem(icon, text, list);
    item->setData(Qt::UserRole, bytesOf(bytes));
    return item;
}

QStringList volumeRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            roots.append(QDir::toNativeSeparators(volume.rootPath()));
    roots.removeDuplicates();
    roots.sort();
    if (roots.isEmpty())
        roots.append(QDir::toNativeSeparators(QDir::rootPath()));
    return roots;
}

}  // namespace

DriveCombo::DriveCombo(QWidget* parent) : QComboBox(parent)
{
    addItems(volumeRoots());
}

std::string DriveCombo::drive() const
{
    return QFile::encodeName(currentText()).toStdString();
}

void DriveCombo::selectDrive(const std::string& drive)
{
    const QSignalBlocker quiet(this);
    const int index = findText(QFile::decodeName(bytesOf(drive)));
    if (index >= 0)
        setCurrentIndex(index);
}

void DriveCombo::selectDriveOf(const QString& path)
{
    const QString root = QDir::toNativeSeparators(QStorageInfo(path).rootPath());
    selectDrive(QFile::encodeName(root).toStdString());
}

DirListWidget::DirListWidget(QWidget* parent) : QListWidget(parent)
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemActivated, this, &DirListWidget::open);
}

std::string DirListWidget::path() const
{
    return path_;
}

bool DirListWidget::setPath(const std::string& path)
{
    if (!isReadableDirectory(path))
        return false;
    path_ = absoluteDirectory(path);
    clear();
    const QIcon folder = QFileIconProvider().icon(QFileIconProvider::Folder);
    addEntry(this, folder, shown(path_), path_)->setToolTip(shown(path_));
    const std::string parent = parentDirectory(path_);
    if (!parent.empty())
        addEntry(this, folder, "..", parent);
    for (const std::string& name : subdirectories(path_))
        addEntry(this, folder, shown(name), joinPath(path_, name));
    if (onChange)
        onChange();
    return true;
}

void DirListWidget::open(QListWidgetItem* item)
{
    const std::string target = itemBytes(item);
    if (target == path_)
        return;
    if (!setPath(target) && onUnreadable)
        onUnreadable(shown(target));
}

FileListWidget::FileListWidget(QWidget* parent) : QListWidget(parent)
{
    // Many files, one height: the list lays out without measuring each.
    setUniformItemSizes(true);
}

std::string FileListWidget::path() const
{
    return path_;
}

void FileListWidget::setPath(const std::string& path)
{
    path_ = path;
    clear();
    for (const std::string& name : matchingFiles(path, pattern()))
        addEntry(this, QIcon(), shown(name), name);
}

std::string FileListWidget::fileName() const
{
    const QListWidgetItem* item = currentItem();
    return item ? itemBytes(item) : std::string();
}

}  // namespace tarvel::ui
