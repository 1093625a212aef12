#include "ui/folder_listing.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "ui/detached_work.h"

namespace tarvel::ui {

// What the listing thread and the window share; the thread holds its own
// reference, so this outlives a window that gave up on the listing.
struct FolderListing::Shared {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable foundAll;
    std::deque<std::string> found;
    bool complete = false;
};

FolderListing::FolderListing(FolderQuery query)
    : query_(std::move(query)), shared_(std::make_shared<Shared>())
{
    runDetached([shared = shared_, query = query_] {
        listFolder(query, shared->cancelled, [&shared](std::string name) {
            const std::lock_guard lock(shared->mutex);
            shared->found.push_back(std::move(name));
        });
        {
            const std::lock_guard lock(shared->mutex);
            shared->complete = true;
        }
        shared->foundAll.notify_all();
    });
}

FolderListing::~FolderListing()
{
    shared_->cancelled = true;
}

std::vector<std::string> FolderListing::take(std::size_t most)
{
    const std::lock_guard lock(shared_->mutex);
    std::deque<std::string>& found = shared_->found;
    const auto count = static_cast<std::ptrdiff_t>(std::min(most, found.size()));
    std::vector<std::string> names(std::make_move_iterator(found.begin()),
                                   std::make_move_iterator(found.begin() + count));
    found.erase(found.begin(), found.begin() + count);
    return names;
}

bool FolderListing::finished()
{
    const std::lock_guard lock(shared_->mutex);
    return shared_->complete && shared_->found.empty();
}

bool FolderListing::waitFound(std::chrono::milliseconds time)
{
    std::unique_lock lock(shared_->mutex);
    return shared_->foundAll.wait_for(lock, time, [this] { return shared_->complete; });
}

}  // namespace tarvel::ui
