// Reads data-set files on a thread of their own, so a file that blocks (a
// stalled network mount, a pipe nobody writes to) never freezes the window.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

#include "ui/toolkit.h"

class QMessageBox;
class QProgressDialog;
class QWidget;

namespace tarvel::ui {

class QtFileReader : public QObject, public FileReader {
    Q_OBJECT
public:
    explicit QtFileReader(QWidget* window);
    // A read still running is cancelled: its thread lets go of the file on
    // its own, and what it produces is dropped.
    ~QtFileReader() override;

    void start(const std::string& what,
               std::function<void(const std::atomic<bool>& cancelled)> read,
               std::function<void(Outcome)> finish) override;
    bool busy() const override { return static_cast<bool>(job_); }
    void showBusy(const std::string& text) override;

    // A read that ends within this time finishes inside the click, as a
    // read on the user-interface thread would.
    static constexpr int kQuickMs = 50;
    // A read that takes longer than this shows a progress dialog with Cancel.
    static constexpr int kProgressAfterMs = 300;

private:
    struct Job;
    void poll();
    void cancel();
    void end(Outcome outcome);
    void closeProgress();

    QWidget* window_;
    std::shared_ptr<Job> job_;
    // The last read started, finished or not: the next one waits for it.
    std::shared_ptr<Job> last_;
    std::function<void(Outcome)> finish_;
    QString what_;
    QTimer poll_;
    QElapsedTimer elapsed_;
    QPointer<QProgressDialog> progress_;
    QPointer<QMessageBox> busyBox_;
};

}  // namespace tarvel::ui
