#include "system_state.h"

#include <tlhelp32.h>

#include <cstdio>

#include "check.h"
#include "win32_handles.h"

namespace scrinst::e2e {

namespace {
constexpr const char* kBackupKey = "Control Panel\\Desktop (e2e backup)";
}

std::string WindowsDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    Require(length > 0 && length < MAX_PATH, "GetWindowsDirectoryA failed");
    return std::string(buffer, length);
}

PathKind KindOf(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return PathKind::Absent;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Directory : PathKind::File;
}

std::optional<std::vector<std::uint8_t>> ReadBytes(const std::string& path)
{
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

namespace {

void Clear(const std::string& path)
{
    switch (KindOf(path)) {
    case PathKind::File:
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        Require(DeleteFileA(path.c_str()) != 0, "cannot delete " + Quoted(path));
        break;
    case PathKind::Directory:
        Require(RemoveDirectoryA(path.c_str()) != 0, "cannot remove the folder " + Quoted(path));
        break;
    case PathKind::Absent:
        break;
    }
}

}  // namespace

ClearedPath::ClearedPath(std::string path) : path_(std::move(path))
{
    Clear(path_);
}

ClearedPath::~ClearedPath()
{
    try {
        Clear(path_);
    } catch (const Fatal& fatal) {
        Expect(false, fatal.what());
    }
}

std::optional<RegistryString> ScreenSaverSetting()
{
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), kScreenSaverValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(key.get(), kScreenSaverValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    // A REG_SZ's bytes include its terminating zero; show a missing one as a
    // difference rather than hide it.
    if (!data.empty() && data.back() == '\0') {
        data.pop_back();
    } else {
        data += "<no terminating zero>";
    }
    return RegistryString{type, data};
}

bool DesktopKeyExists()
{
    RegistryKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, key.out()) == ERROR_SUCCESS;
}

RestoredScreenSaverSetting::RestoredScreenSaverSetting() : original_(ScreenSaverSetting()) {}

RestoredScreenSaverSetting::~RestoredScreenSaverSetting()
{
    if (ScreenSaverSetting() == original_) {
        return;
    }
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, key.out()) != ERROR_SUCCESS) {
        return;
    }
    if (original_) {
        const std::string& text = original_->text;
        RegSetValueExA(key.get(), kScreenSaverValue, 0, original_->type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    } else {
        RegDeleteValueA(key.get(), kScreenSaverValue);
    }
}

namespace {

// RegCopyTree, written out: values and subkeys, depth first.
bool CopyKey(HKEY from, HKEY to)
{
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        LONG status = RegEnumValueA(from, index, name, &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            return false;
        }
        std::vector<BYTE> data(size + 1);
        nameLength = sizeof name;
        status = RegEnumValueA(from, index, name, &nameLength, nullptr, &type, data.data(), &size);
        if (status != ERROR_SUCCESS || RegSetValueExA(to, name, 0, type, data.data(), size) != ERROR_SUCCESS) {
            return false;
        }
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        const LONG status = RegEnumKeyExA(from, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        RegistryKey sourceChild;
        RegistryKey targetChild;
        if (status != ERROR_SUCCESS ||
            RegOpenKeyExA(from, name, 0, KEY_READ, sourceChild.out()) != ERROR_SUCCESS ||
            RegCreateKeyExA(to, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, targetChild.out(), nullptr) !=
                ERROR_SUCCESS ||
            !CopyKey(sourceChild.get(), targetChild.get())) {
            return false;
        }
    }
    return true;
}

bool CopyKeyPath(const char* from, const char* to)
{
    RegistryKey source;
    RegistryKey target;
    return RegOpenKeyExA(HKEY_CURRENT_USER, from, 0, KEY_READ, source.out()) == ERROR_SUCCESS &&
           RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.out(), nullptr) ==
               ERROR_SUCCESS &&
           CopyKey(source.get(), target.get());
}

bool KeyExists(const char* path)
{
    RegistryKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, key.out()) == ERROR_SUCCESS;
}

}  // namespace

void RestoreDesktopKeyFromBackup()
{
    if (!KeyExists(kBackupKey)) {
        return;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kDesktopKey);
    Require(CopyKeyPath(kBackupKey, kDesktopKey), "cannot restore \"Control Panel\\Desktop\" from its backup");
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
}

RemovedDesktopKey::RemovedDesktopKey()
{
    RestoreDesktopKeyFromBackup();
    Require(KeyExists(kDesktopKey), "the prefix has no \"Control Panel\\Desktop\" to take away");
    Require(CopyKeyPath(kDesktopKey, kBackupKey), "cannot back up \"Control Panel\\Desktop\"");
    Require(RegDeleteTreeA(HKEY_CURRENT_USER, kDesktopKey) == ERROR_SUCCESS,
            "cannot delete \"Control Panel\\Desktop\"");
    Require(!KeyExists(kDesktopKey), "\"Control Panel\\Desktop\" is still there after deleting it");
}

RemovedDesktopKey::~RemovedDesktopKey()
{
    try {
        RestoreDesktopKeyFromBackup();
    } catch (const Fatal& fatal) {
        Expect(false, fatal.what());
    }
}

std::set<DWORD> ProcessesNamed(const std::string& exeName)
{
    std::set<DWORD> ids;
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        return ids;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) {
            ids.insert(entry.th32ProcessID);
        }
    }
    return ids;
}

void TerminateProcesses(const std::set<DWORD>& ids)
{
    for (const DWORD id : ids) {
        KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 5000);
        }
    }
}

}  // namespace scrinst::e2e
