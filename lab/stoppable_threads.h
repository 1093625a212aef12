// Worker threads that a newer request overtakes: starting new work tells the
// running threads to stop without waiting for them, and only cancel() (or
// the end of the owner) waits until every thread has ended.
#pragma once

#include <atomic>
#include <memory>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sched.h>
#include <sys/resource.h>
#endif

namespace tarvel {

// The window's thread must draw every frame: on Linux, where each thread has
// a scheduling class of its own, a worker runs only on a processor the window
// leaves idle, or, where that class is not allowed, at a lower priority.
inline void yieldToTheWindow()
{
#if defined(__linux__)
    constexpr int kWorkNiceness = 10;
    const sched_param none{};
    if (sched_setscheduler(0, SCHED_IDLE, &none) != 0)
        setpriority(PRIO_PROCESS, 0, kWorkNiceness);
#endif
}

class StoppableThreads {
public:
    // Tells every running thread to stop and lets go of those that ended.
    void stopRunning()
    {
        std::erase_if(workers_, [](Worker& worker) {
            worker.thread.request_stop();
            return worker.done->load();
        });
    }

    // Runs body(stop_token) on a thread of its own, below the window's.
    template <typename Body> void add(Body body)
    {
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::jthread thread([body = std::move(body), done](std::stop_token stop) mutable {
            yieldToTheWindow();
            body(stop);
            done->store(true);
        });
        workers_.push_back({std::move(thread), std::move(done)});
    }

    void cancel()
    {
        for (Worker& worker : workers_)
            worker.thread.request_stop();
        workers_.clear();  // each jthread joins as it goes
    }

    ~StoppableThreads() { cancel(); }

private:
    struct Worker {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Worker> workers_;
};

}  // namespace tarvel
