// Reading a data-set file chunk by chunk: the one place that knows how the
// platform opens and waits on files. A regular file is read as fast as the
// file system delivers it. Anything else (a named pipe) is a stream: it is
// opened without blocking and waited on a short slice at a time, so a read
// the user cancelled lets go of the file at once, even when nobody ever
// writes to it.
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace tarvel {

class FileSource {
public:
    explicit FileSource(const std::filesystem::path& path);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const;
    // Why the file could not be opened or read, in the system's words.
    const std::string& error() const { return error_; }
    // Not a regular file: its bytes arrive when someone writes them.
    bool isStream() const { return stream_; }

    enum class Status { Data, End, Cancelled, Failed };
    struct Chunk {
        Status status = Status::Failed;
        std::size_t size = 0;  // bytes placed in the buffer, with Data
    };
    // Waits for the next bytes. `cancelled` is looked at before every
    // read and, while a stream has nothing to give, every few milliseconds.
    Chunk read(char* buffer, std::size_t capacity, const std::atomic<bool>& cancelled);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string error_;
    bool stream_ = false;
};

}  // namespace tarvel
