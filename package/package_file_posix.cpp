#include "package_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <new>
#include <vector>

#include "error.h"
#include "messages.h"
#include "system_error.h"
#include "trailer.h"

namespace scrinst {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string RunningExecutablePath()
{
    std::array<char, 4096> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

ByteBuffer ReadWholeFile(const std::string& path)
{
    // POSIX has no share modes: other writers cannot be shut out here.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        throw Error(messages::CannotOpenFile(path, TrimSystemText(std::strerror(errno))));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw Error(std::string(messages::kStreamReadError));
    }
    if (info.st_size >= kMaxPackageSize) {
        throw Error(std::string(messages::kStreamReadError));
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        throw Error(std::string(messages::kOutOfMemoryExpanding));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            throw Error(std::string(messages::kStreamReadError));
        }
        done += static_cast<std::size_t>(got);
    }
    return ByteBuffer(std::move(bytes));
}

}  // namespace scrinst
