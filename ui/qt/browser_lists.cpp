#include "ui/qt/browser_lists.h"

#include <QDir>
#include <QFileIconProvider>
#include <QStorageInfo>

#include "ui/file_system.h"

namespace tarvel::ui {
namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
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
    return toUtf8(currentText());
}

void DriveCombo::selectDrive(const std::string& drive)
{
    const QSignalBlocker quiet(this);
    const int index = findText(fromUtf8(drive));
    if (index >= 0)
        setCurrentIndex(index);
}

void DriveCombo::selectDriveOf(const QString& path)
{
    const QString root = QDir::toNativeSeparators(QStorageInfo(path).rootPath());
    selectDrive(toUtf8(root));
}

DirListWidget::DirListWidget(QWidget* parent) : QListWidget(parent)
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemActivated, this, &DirListWidget::open);
}

std::string DirListWidget::path() const
{
    return toUtf8(path_);
}

bool DirListWidget::setPath(const std::string& path)
{
    if (!isReadableDirectory(path))
        return false;
    path_ = QDir::toNativeSeparators(QDir(fromUtf8(path)).absolutePath());
    clear();
    const QIcon folder = QFileIconProvider().icon(QFileIconProvider::Folder);
    auto* here = new QListWidgetItem(folder, path_, this);
    here->setData(Qt::UserRole, path_);
    here->setToolTip(path_);
    QDir dir(path_);
    if (dir.cdUp()) {
        auto* up = new QListWidgetItem(folder, "..", this);
        up->setData(Qt::UserRole, dir.absolutePath());
    }
    for (const std::string& name : subdirectories(path)) {
        auto* child = new QListWidgetItem(folder, fromUtf8(name), this);
        child->setData(Qt::UserRole, fromUtf8(joinPath(toUtf8(path_), name)));
    }
    if (onChange)
        onChange();
    return true;
}

void DirListWidget::open(QListWidgetItem* item)
{
    const QString target = item->data(Qt::UserRole).toString();
    if (target == path_)
        return;
    if (!setPath(toUtf8(target)) && onUnreadable)
        onUnreadable(target);
}

FileListWidget::FileListWidget(QWidget* parent) : QListWidget(parent) {}

std::string FileListWidget::path() const
{
    return path_;
}

void FileListWidget::setPath(const std::string& path)
{
    path_ = path;
    clear();
    for (const std::string& name : matchingFiles(path, pattern()))
        addItem(fromUtf8(name));
}

std::string FileListWidget::fileName() const
{
    const QListWidgetItem* item = currentItem();
    return item ? toUtf8(item->text()) : std::string();
}

}  // namespace tarvel::ui
