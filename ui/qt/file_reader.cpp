#include "ui/qt/file_reader.h"

#include <QMessageBox>
#include <QProgressDialog>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "ui/control_table.h"
#include "ui/detached_work.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {

// What the reading thread and the window share. The thread holds its own
// reference, so the job outlives a window that gave up on it.
struct QtFileReader::Job {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;

    void markDone()
    {
        {
            const std::lock_guard lock(mutex);
            done = true;
        }
        doneChanged.notify_all();
    }
    bool isDone()
    {
        const std::lock_guard lock(mutex);
        return done;
    }
    bool waitFor(std::chrono::milliseconds time)
    {
        std::unique_lock lock(mutex);
        return doneChanged.wait_for(lock, time, [this] { return done; });
    }
    void waitUntilDone()
    {
        std::unique_lock lock(mutex);
        doneChanged.wait(lock, [this] { return done; });
    }
};

QtFileReader::QtFileReader(QWidget* window) : window_(window)
{
    poll_.setInterval(10);
    connect(&poll_, &QTimer::timeout, this, &QtFileReader::poll);
}

QtFileReader::~QtFileReader()
{
    if (job_)
        job_->cancelled = true;
    delete progress_;
}

void QtFileReader::start(const std::string& what,
                         std::function<void(const std::atomic<bool>&)> read,
                         std::function<void(Outcome)> finish)
{
    auto job = std::make_shared<Job>();
    // A read given up on may still be letting go of its file (a pipe is
    // looked at every few milliseconds): the new one opens the file only
    // after that, so no byte meant for it goes to the old one.
    auto work = [job, earlier = std::exchange(last_, job), read = std::move(read)] {
        if (earlier)
            earlier->waitUntilDone();
        if (!job->cancelled) {
            try {
                read(job->cancelled);
            } catch (...) {
                // The reader's result stays that of a file that cannot be read.
            }
        }
        job->markDone();
    };
    runDetached(work);
    if (job->waitFor(std::chrono::milliseconds(kQuickMs))) {
        finish(Outcome::Done);
        return;
    }
    job_ = std::move(job);
    finish_ = std::move(finish);
    what_ = QString::fromStdString(what);
    elapsed_.start();
    poll_.start();
}

void QtFileReader::poll()
{
    if (!job_)
        return;
    if (job_->isDone()) {
        end(Outcome::Done);
        return;
    }
    if (!progress_ && elapsed_.elapsed() >= kProgressAfterMs) {
        progress_ = new QProgressDialog(window_);
        progress_->setObjectName("loadProgress");
        progress_->setWindowTitle(qstr(kAppTitle));
        progress_->setLabelText(QString("Reading %1 …").arg(what_));
        progress_->setCancelButtonText("Cancel");
        progress_->setRange(0, 0);  // how far a blocked read has come is unknown
        progress_->setMinimumDuration(0);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
        progress_->setWindowModality(Qt::WindowModal);
        connect(progress_, &QProgressDialog::canceled, this, &QtFileReader::cancel);
        progress_->show();
    }
}

void QtFileReader::cancel()
{
    if (!job_)
        return;
    job_->cancelled = true;
    end(Outcome::Cancelled);
}

void QtFileReader::showBusy(const std::string& text)
{
    // Built as every message box of the window is (QtMessageBox), but kept
    // at hand so that the end of the read can close it.
    QMessageBox box(QMessageBox::NoIcon, qstr(kAppTitle), QString::fromStdString(text),
                    QMessageBox::Ok, window_);
    box.setObjectName("messageBox");
    box.setAccessibleDescription(box.text());
    busyBox_ = &box;
    box.exec();
}

void QtFileReader::closeProgress()
{
    if (!progress_)
        return;
    // Closing emits canceled; the read has already ended one way or another.
    progress_->disconnect(this);
    progress_->hide();
    progress_->deleteLater();
    progress_ = nullptr;
}

void QtFileReader::end(Outcome outcome)
{
    poll_.stop();
    closeProgress();
    if (busyBox_)
        busyBox_->done(QMessageBox::Ok);
    job_.reset();
    const auto finish = std::exchange(finish_, {});
    finish(outcome);
}

}  // namespace tarvel::ui
