#include "ui/qt/file_reader.h"

#include <QProgressDialog>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "ui/control_table.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {

// What the reading thread and the window share. The thread holds its own
// reference, so the job outlives a window that gave up on it.
struct QtFileReader::Job {
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
};

QtFileReader::QtFileReader(QWidget* window) : window_(window)
{
    poll_.setInterval(10);
    connect(&poll_, &QTimer::timeout, this, &QtFileReader::poll);
}

QtFileReader::~QtFileReader()
{
    delete progress_;
}

void QtFileReader::start(const std::string& what, std::function<void()> read,
                         std::function<void(Outcome)> finish)
{
    auto job = std::make_shared<Job>();
    auto work = [job, read = std::move(read)] {
        try {
            read();
        } catch (...) {
            // The reader's result stays that of a file that cannot be read.
        }
        job->markDone();
    };
    try {
        std::thread(work).detach();
    } catch (const std::system_error&) {
        work();  // no thread to be had: read here rather than not at all
    }
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
    if (job_)
        end(Outcome::Cancelled);
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
    job_.reset();
    const auto finish = std::exchange(finish_, {});
    finish(outcome);
}

}  // namespace tarvel::ui
