#include "data/file_source.h"

#include <cerrno>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define TARVEL_POSIX_FILES 1
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace tarvel {
namespace {

std::string systemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : std::string();
}

}  // namespace

#ifdef TARVEL_POSIX_FILES

// How long a stream is waited on before the cancel flag is looked at again.
constexpr int kWaitSliceMs = 20;

struct FileSource::Handle {
    int fd = -1;
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

FileSource::FileSource(const std::filesystem::path& path) : handle_(std::make_unique<Handle>())
{
    // Without O_NONBLOCK, opening a named pipe waits until someone opens it
    // for writing, beyond the reach of any cancel.
    handle_->fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (handle_->fd < 0) {
        error_ = systemReason(errno);
        return;
    }
    struct stat info {};
    if (::fstat(handle_->fd, &info) != 0) {
        error_ = systemReason(errno);
        handle_.reset();
        return;
    }
    stream_ = !S_ISREG(info.st_mode);
}

FileSource::~FileSource() = default;

bool FileSource::isOpen() const
{
    return handle_ && handle_->fd >= 0;
}

FileSource::Chunk FileSource::read(char* buffer, std::size_t capacity,
                                   const std::atomic<bool>& cancelled)
{
    while (!cancelled.load()) {
        if (stream_) {
            // A pipe that never had a writer reads as ended without
            // blocking; poll waits for bytes or for a writer that has come
            // and gone.
            pollfd wanted{handle_->fd, POLLIN, 0};
            const int ready = ::poll(&wanted, 1, kWaitSliceMs);
            if (ready == 0 || (ready < 0 && errno == EINTR))
                continue;
            if (ready < 0) {
                error_ = systemReason(errno);
                return {Status::Failed, 0};
            }
            if (cancelled.load())
                break;
        }
        const ssize_t got = ::read(handle_->fd, buffer, capacity);
        if (got > 0)
            return {Status::Data, static_cast<std::size_t>(got)};
        if (got == 0)
            return {Status::End, 0};
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
            continue;
        error_ = systemReason(errno);
        return {Status::Failed, 0};
    }
    return {Status::Cancelled, 0};
}

#else

// Without poll: the file is read blocking, and a cancel is seen between
// chunks. Named pipes are not files to be picked here.
struct FileSource::Handle {
    std::ifstream in;
};

FileSource::FileSource(const std::filesystem::path& path) : handle_(std::make_unique<Handle>())
{
    errno = 0;
    handle_->in.open(path, std::ios::binary);
    if (!handle_->in)
        error_ = systemReason(errno);
    std::error_code ignored;
    stream_ = !std::filesystem::is_regular_file(path, ignored);
}

FileSource::~FileSource() = default;

bool FileSource::isOpen() const
{
    return handle_->in.is_open();
}

FileSource::Chunk FileSource::read(char* buffer, std::size_t capacity,
                                   const std::atomic<bool>& cancelled)
{
    if (cancelled.load())
        return {Status::Cancelled, 0};
    handle_->in.read(buffer, static_cast<std::streamsize>(capacity));
    const auto got = static_cast<std::size_t>(handle_->in.gcount());
    if (got > 0)
        return {Status::Data, got};
    if (handle_->in.bad()) {
        error_ = systemReason(errno);
        return {Status::Failed, 0};
    }
    return {Status::End, 0};
}

#endif

}  // namespace tarvel
