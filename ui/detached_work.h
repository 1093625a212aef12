// Work that may block for as long as a file system does, run on a thread of
// its own that nobody waits for: the window gives up on it by a flag in
// what the work shares, never by joining.
#pragma once

#include <functional>
#include <system_error>
#include <thread>

namespace tarvel::ui {

inline void runDetached(const std::function<void()>& work)
{
    try {
        std::thread(work).detach();
    } catch (const std::system_error&) {
        work();  // no thread to be had: do it here rather than not at all
    }
}

}  // namespace tarvel::ui
