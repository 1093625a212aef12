#include "ui/qt/browser_lists.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileIconProvider>
#include <QStorageInfo>

#include <algorithm>

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

FolderListWidget::FolderListWidget(QWidget* parent) : QListWidget(parent)
{
    // Many entries, one height: the list lays out without measuring each.
    setUniformItemSizes(true);
    arrivals_.setInterval(10);
    connect(&arrivals_, &QTimer::timeout, this, &FolderListWidget::takeArrivals);
}

void FolderListWidget::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    fitGrid();
}

// Rows placed on a grid of one row's height as wide as the list: the view
// then lays out the rows (again each time rows arrive) without asking each
// for its size, in a third of the time.
void FolderListWidget::fitGrid()
{
    const int height = std::max(iconSize().height(), fontMetrics().height()) + 4;
    const QSize grid(std::max(1, viewport()->width()), height);
    if (gridSize() != grid)
        setGridSize(grid);
}

void FolderListWidget::list(FolderQuery query, int fixedRows)
{
    fixedRows_ = fixedRows;
    nextRow_ = fixedRows;
    listing_ = std::make_unique<FolderListing>(std::move(query));
    arrivals_.start();
}

void FolderListWidget::takeArrivals()
{
    QElapsedTimer clock;
    clock.start();
    constexpr std::size_t kBatch = 16;
    while (clock.elapsed() < kArrivalBudgetMs) {
        const std::vector<std::string> names = listing_->take(kBatch);
        if (names.empty())
            break;
        for (const std::string& name : names)
            place(name);
    }
    if (listing_->finished())
        finishListing();
}

// The rows after the fixed ones are sorted, and so are the names arriving:
// one walk through both keeps the rows of names still there, drops those
// of names gone and inserts the new ones where they belong.
void FolderListWidget::place(const std::string& name)
{
    const QByteArray key = bytesOf(entryBytes(name));
    while (nextRow_ < count() && item(nextRow_)->data(Qt::UserRole).toByteArray() < key)
        delete takeItem(nextRow_);
    if (nextRow_ < count() && item(nextRow_)->data(Qt::UserRole).toByteArray() == key) {
        ++nextRow_;
        return;
    }
    insertItem(nextRow_++, newEntry(name));
}

void FolderListWidget::finishListing()
{
    while (count() > nextRow_)
        delete takeItem(count() - 1);
    arrivals_.stop();
    listing_.reset();
}

QListWidgetItem* FolderListWidget::entryNamed(const std::string& name) const
{
    const QByteArray key = bytesOf(entryBytes(name));
    int low = fixedRows_;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (item(middle)->data(Qt::UserRole).toByteArray() < key)
            low = middle + 1;
        else
            high = middle;
    }
    QListWidgetItem* found = low < count() ? item(low) : nullptr;
    return found && found->data(Qt::UserRole).toByteArray() == key ? found : nullptr;
}

DirListWidget::DirListWidget(QWidget* parent)
    : FolderListWidget(parent), folder_(QFileIconProvider().icon(QFileIconProvider::Folder))
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
    const std::string absolute = absoluteDirectory(path);
    const std::string parent = parentDirectory(absolute);
    if (absolute != path_) {
        path_ = absolute;
        clear();
        addEntry(this, folder_, shown(path_), path_)->setToolTip(shown(path_));
        if (!parent.empty())
            addEntry(this, folder_, "..", parent);
    }
    list({path_, FolderQuery::Kind::Subdirectories}, parent.empty() ? 1 : 2);
    if (onChange)
        onChange();
    return true;
}

std::string DirListWidget::entryBytes(const std::string& name) const
{
    return joinPath(path_, name);
}

QListWidgetItem* DirListWidget::newEntry(const std::string& name) const
{
    auto* item = new QListWidgetItem(folder_, shown(name));
    item->setData(Qt::UserRole, bytesOf(entryBytes(name)));
    return item;
}

void DirListWidget::open(QListWidgetItem* item)
{
    const std::string target = itemBytes(item);
    if (target == path_)
        return;
    if (!setPath(target) && onUnreadable)
        onUnreadable(target);
}

FileListWidget::FileListWidget(QWidget* parent) : FolderListWidget(parent) {}

std::string FileListWidget::path() const
{
    return path_;
}

void FileListWidget::setPath(const std::string& path)
{
    if (path != path_)
        clear();
    path_ = path;
    list({path, FolderQuery::Kind::MatchingFiles, pattern()}, 0);
}

std::string FileListWidget::fileName() const
{
    const QListWidgetItem* item = currentItem();
    return item ? itemBytes(item) : std::string();
}

QListWidgetItem* FileListWidget::newEntry(const std::string& name) const
{
    auto* item = new QListWidgetItem(shown(name));
    item->setData(Qt::UserRole, bytesOf(name));
    if (!reading_.empty())
        showMark(item);
    return item;
}

// The entry of this list that a full name stands for, if any.
QListWidgetItem* FileListWidget::entryOf(const std::string& fullName) const
{
    if (fullName.empty())
        return nullptr;
    const std::string name = pathBytes(nativePath(fullName).filename());
    return joinPath(path_, name) == fullName ? entryNamed(name) : nullptr;
}

void FileListWidget::showMark(QListWidgetItem* item) const
{
    const bool marked = !reading_.empty() && joinPath(path_, itemBytes(item)) == reading_;
    if (!marked) {
        item->setData(Qt::FontRole, QVariant());
        return;
    }
    QFont bold = font();
    bold.setBold(true);
    item->setFont(bold);
}

void FileListWidget::markReading(const std::string& fullName)
{
    QListWidgetItem* before = entryOf(reading_);
    reading_ = fullName;
    if (before)
        showMark(before);
    if (QListWidgetItem* now = entryOf(fullName)) {
        showMark(now);
        setCurrentItem(now);
    }
}

}  // namespace tarvel::ui
