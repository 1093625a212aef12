// A folder listed on a thread of its own, so that a big folder or a slow
// drive never holds the window: the window takes the names as they come.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "ui/file_system.h"

namespace tarvel::ui {

class FolderListing {
public:
    explicit FolderListing(FolderQuery query);
    // Tells the thread to stop: it lets go of the folder on its own, and
    // what it finds later goes nowhere.
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    const FolderQuery& query() const { return query_; }
    // The names found since the last call, at most `most`, in sorted order.
    std::vector<std::string> take(std::size_t most);
    // Every name has been found and taken.
    bool finished();
    // Waits up to `time` for the listing to find its last name; true when
    // it has.
    bool waitFound(std::chrono::milliseconds time);

private:
    struct Shared;
    FolderQuery query_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace tarvel::ui
