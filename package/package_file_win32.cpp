#include "package_file.h"

#include <windows.h>

#include <new>
#include <vector>

#include "error.h"
#include "messages.h"
#include "system_error.h"
#include "trailer.h"

namespace scrinst {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) noexcept : handle_(handle) {}
    ~FileHandle() { if (valid()) CloseHandle(handle_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const noexcept { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

std::string RunningExecutablePath()
{
    // Long paths get a bigger buffer; MAX_PATH covers nearly every case.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

ByteBuffer ReadWholeFile(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        const DWORD code = GetLastError();
        throw Error(messages::CannotOpenFile(path, SystemErrorText(code)));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart >= kMaxPackageSize) {
        throw Error(std::string(messages::kStreamReadError));
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        throw Error(std::string(messages::kOutOfMemoryExpanding));
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(bytes.size() - done);
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) {
            throw Error(std::string(messages::kStreamReadError));
        }
        done += got;
    }
    return ByteBuffer(std::move(bytes));
}

}  // namespace scrinst
