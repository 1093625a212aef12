#pragma once

#include <QHash>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>

#include <memory>

#include "app/form_tarvel.h"

namespace tarvel::ui {

class PictureWidget;
class DriveCombo;
class DirListWidget;
class FileListWidget;
class AboutLauncher;
class QtMessageBox;
class QtFileReader;

// The main window: the controls of the control table placed by one scale
// factor, wired to the logic's handlers.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // startDirectory: where the browser lists start (the working directory
    // when empty).
    explicit MainWindow(const QString& startDirectory = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form_Tarvel& form() { return *form_; }
    PictureWidget& picture() { return *picture_; }
    AboutLauncher& about() { return *about_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    double chooseScale() const;
    void placeControls();
    void createAdapters();
    Controls controls();
    void connectHandlers();
    void startBrowser(const QString& startDirectory);
    void addStudyAids();
    void createStudyMenu();
    void addQuitAction();
    void addAccessibility();
    void keepPictureInSight();
    void foldBrowserInto(const QRect& picture);
    void revealAbovePicture(QWidget* widget);
    template <typename T> T* control(const char* name) const;
    template <typename T> T* required(const char* name) const;

    struct Adapters;

    QHash<QString, QWidget*> widgets_;
    QWidget* client_ = nullptr;  // the controls' area, scrolled when the window is lower
    QScrollArea* scroll_ = nullptr;
    double scale_ = 0;
    int pictureHeight_ = 0;  // the most the picture keeps of a low window
    PictureWidget* picture_ = nullptr;
    // The Study menu beside About: saving what the picture shows, and the
    // study windows.
    QMenu* studyMenu_ = nullptr;
    QAction* aboutAction_ = nullptr;
    DriveCombo* drive_ = nullptr;
    DirListWidget* dir_ = nullptr;
    FileListWidget* files_ = nullptr;
    std::unique_ptr<Adapters> adapters_;
    std::unique_ptr<QtMessageBox> messageBox_;
    std::unique_ptr<StatusLine> statusLine_;
    std::unique_ptr<AboutLauncher> about_;
    std::unique_ptr<QtFileReader> fileReader_;
    std::unique_ptr<Form_Tarvel> form_;
};

}  // namespace tarvel::ui
