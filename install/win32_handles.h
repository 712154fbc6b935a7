#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace scrinst {

// A move-only owner of one Win32 resource: it releases the resource on every
// path out of a function, failed ones included. Traits says what the resource
// is: its type, the value that means none, and how to release one.
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    UniqueResource(UniqueResource&& other) noexcept : handle_(std::exchange(other.handle_, Traits::None())) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Traits::None());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    explicit operator bool() const noexcept { return Traits::Holds(handle_); }
    Handle get() const noexcept { return handle_; }
    // For the functions that hand out a resource through a pointer; whatever
    // was held is released first.
    Handle* out() noexcept
    {
        reset();
        return &handle_;
    }
    // Releases now. False when the release itself failed: closing a file can
    // report a failure to write cached data, so callers that care release
    // explicitly and check.
    bool reset() noexcept
    {
        if (!*this) {
            return true;
        }
        return Traits::Release(std::exchange(handle_, Traits::None()));
    }

private:
    Handle handle_ = Traits::None();
};

// Files, processes, threads, snapshots: whatever CloseHandle ends. Both null
// and INVALID_HANDLE_VALUE mean none, as the functions that make them differ.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Holds(Handle handle) noexcept { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static bool Release(Handle handle) noexcept { return CloseHandle(handle) != FALSE; }
};
using KernelHandle = UniqueResource<KernelHandleTraits>;

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle None() noexcept { return nullptr; }
    static bool Holds(Handle key) noexcept { return key != nullptr; }
    static bool Release(Handle key) noexcept { return RegCloseKey(key) == ERROR_SUCCESS; }
};
using RegistryKey = UniqueResource<RegistryKeyTraits>;

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
