// The drive, directory and file lists of the data-set browser. Each entry
// shows its name made readable and keeps the name's own bytes, which are
// what the browser opens.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QTimer>

#include <functional>
#include <memory>

#include "ui/folder_listing.h"
#include "ui/toolkit.h"

namespace tarvel::ui {

// The platform's volumes: drive letters on Windows, mounted volumes elsewhere.
class DriveCombo : public QComboBox, public DriveList {
    Q_OBJECT
public:
    explicit DriveCombo(QWidget* parent = nullptr);
    std::string drive() const override;
    void selectDrive(const std::string& drive) override;
    // Selects the volume that holds path, without running the change handler.
    void selectDriveOf(const QString& path);
};

// A list of the entries of one folder, listed on a thread of its own and
// shown as the names arrive, a few milliseconds of work at a time, so the
// window keeps answering however big the folder. Listing the folder shown
// again keeps the rows of the names still there, and with them the
// selection and the scroll position; a newer listing replaces one that has
// not finished.
class FolderListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit FolderListWidget(QWidget* parent = nullptr);
    // A listing is still running.
    bool isListing() const { return static_cast<bool>(listing_); }

    // The longest the window thread works on arriving names at one go.
    static constexpr int kArrivalBudgetMs = 4;

protected:
    // Lists query.dir into the rows after the first `fixedRows`, which stay.
    void list(FolderQuery query, int fixedRows);
    // The bytes an entry of that name opens, kept in its Qt::UserRole; they
    // sort as the names do.
    virtual std::string entryBytes(const std::string& name) const = 0;
    virtual QListWidgetItem* newEntry(const std::string& name) const = 0;
    // The row of that name, found by halving (the rows are sorted).
    QListWidgetItem* entryNamed(const std::string& name) const;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitGrid();
    void takeArrivals();
    void place(const std::string& name);
    void finishListing();

    std::unique_ptr<FolderListing> listing_;
    QTimer arrivals_;
    int fixedRows_ = 0;
    int nextRow_ = 0;  // where the next name arriving belongs
};

// The current directory's parent entry and subdirectories; opening one
// (double click or Enter) moves the list there.
class DirListWidget : public FolderListWidget, public DirectoryList {
    Q_OBJECT
public:
    explicit DirListWidget(QWidget* parent = nullptr);
    std::string path() const override;
    bool setPath(const std::string& path) override;
    std::function<void()> onChange;
    // Told, with its bytes, when the user opens a directory that cannot be
    // read.
    std::function<void(const std::string&)> onUnreadable;

protected:
    std::string entryBytes(const std::string& name) const override;
    QListWidgetItem* newEntry(const std::string& name) const override;

private:
    void open(QListWidgetItem* item);
    QIcon folder_;
    std::string path_;
};

class FileListWidget : public FolderListWidget, public FileList {
    Q_OBJECT
public:
    explicit FileListWidget(QWidget* parent = nullptr);
    std::string path() const override;
    void setPath(const std::string& path) override;
    std::string pattern() const override { return "*.dsf"; }
    std::string fileName() const override;
    // The file being read is shown in bold.
    void markReading(const std::string& fullName) override;

protected:
    std::string entryBytes(const std::string& name) const override { return name; }
    QListWidgetItem* newEntry(const std::string& name) const override;

private:
    QListWidgetItem* entryOf(const std::string& fullName) const;
    void showMark(QListWidgetItem* item) const;
    std::string path_;
    std::string reading_;
};

}  // namespace tarvel::ui
