// The drive, directory and file lists of the data-set browser. Each entry
// shows its name made readable and keeps the name's own bytes, which are
// what the browser opens.
#pragma once

#include <QComboBox>
#include <QListWidget>

#include <functional>

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

// The current directory's parent entry and subdirectories; opening one
// (double click or Enter) moves the list there.
class DirListWidget : public QListWidget, public DirectoryList {
    Q_OBJECT
public:
    explicit DirListWidget(QWidget* parent = nullptr);
    std::string path() const override;
    bool setPath(const std::string& path) override;
    std::function<void()> onChange;
    // Told when the user opens a directory that cannot be read.
    std::function<void(const QString&)> onUnreadable;

private:
    void open(QListWidgetItem* item);
    std::string path_;
};

class FileListWidget : public QListWidget, public FileList {
    Q_OBJECT
public:
    explicit FileListWidget(QWidget* parent = nullptr);
    std::string path() const override;
    void setPath(const std::string& path) override;
    std::string pattern() const override { return "*.dsf"; }
    std::string fileName() const override;

private:
    std::string path_;
};

}  // namespace tarvel::ui
