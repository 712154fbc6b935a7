#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace scrinst {

// Move-only owners of kernel and registry resources: each releases its
// resource on every path out of a function, failed ones included.

// Files, processes, threads, snapshots: whatever CloseHandle ends. Both null
// and INVALID_HANDLE_VALUE mean none, as the functions that make them differ.
class KernelHandle {
public:
    KernelHandle() noexcept = default;
    explicit KernelHandle(HANDLE handle) noexcept : handle_(handle) {}
    KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle() { close(); }

    explicit operator bool() const noexcept { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const noexcept { return handle_; }

    // Closing can report a failure to write cached data, so callers that care
    // close explicitly and check.
    bool close() noexcept
    {
        if (!*this) {
            return true;
        }
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class RegistryKey {
public:
    RegistryKey() noexcept = default;
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept
    {
        if (this != &other) {
            reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { reset(); }

    HKEY get() const noexcept { return key_; }
    // For the functions that hand out a key; whatever was held is closed first.
    HKEY* out() noexcept
    {
        reset();
        return &key_;
    }

private:
    void reset() noexcept
    {
        if (key_ != nullptr) {
            RegCloseKey(std::exchange(key_, nullptr));
        }
    }

    HKEY key_ = nullptr;
};

// A file that is deleted when it goes out of scope unless released: the
// temporary copy a failed write leaves behind. Any handle to it must be closed
// first, so declare the handle after this.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) noexcept : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path_.empty()) {
            DeleteFileA(path_.c_str());
        }
    }

    const std::string& path() const noexcept { return path_; }
    // The file has been renamed into place: nothing is left to delete.
    void release() noexcept { path_.clear(); }

private:
    std::string path_;
};

}  // namespace scrinst
