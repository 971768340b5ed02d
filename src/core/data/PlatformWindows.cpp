// The platform layer on Windows. Paths arrive in UTF-8 and are converted to UTF-16 here, made full and
// given the "\\?\" prefix, so long paths work and a path as a Unix shell under Wine passes it
// ("/tmp/x/out.info") reaches the same file. Every call is the wide-character one.

#include "core/data/Platform.h"

#include "core/data/Cp1251.h"
#include "core/data/PlatformWindowsDetail.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <cwchar>
#include <set>
#include <thread>

#include <windows.h>

namespace pw::platform {
using namespace windows_detail;

namespace {


bool IsSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

// The names Windows keeps for devices in every folder ("CON", "nul.txt", "Com1.info", …).
bool IsDeviceName(std::string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !IsPathSeparator(path[start - 1]) && path[start - 1] != ':')
        --start;
    std::string_view stem = path.substr(start);
    stem = stem.substr(0, stem.find('.'));
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == ':'))
        stem.remove_suffix(1);
    auto is = [&stem](std::string_view name) { return AsciiEqualNoCase(stem, name); };
    if (is("CON") || is("PRN") || is("AUX") || is("NUL") || is("CONIN$") || is("CONOUT$"))
        return true;
    return stem.size() == 4 &&
           (AsciiEqualNoCase(stem.substr(0, 3), "COM") || AsciiEqualNoCase(stem.substr(0, 3), "LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// The path the system is given: full, and with the "\\?\" prefix that lifts the 260-character limit
// (which also turns off the system's own clean-up of the path, so that is done first).
std::wstring SystemPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    if (wide.empty() || wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\"))
        return wide;
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(size);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1]))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring SystemPath(const std::string& folder, const std::string& name) {
    std::wstring path = SystemPath(folder);
    if (!path.empty() && !IsSeparator(path.back()))
        path += L'\\';
    return path + Wide(name);
}

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t FromHandle(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

void CloseOwned(std::intptr_t& handle) {
    if (handle != -1 && handle != 0)
        ::CloseHandle(AsHandle(handle));
    handle = -1;
}

// Opens what path names for asking about it (links followed); a folder opens too.
HANDLE OpenForInfo(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

NodeId IdOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE || error == ERROR_DIRECTORY;
}

NodeKind KindOfAttributes(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? NodeKind::Folder : NodeKind::Regular;
}

// The kind of what an open handle names: a pipe or a console is no regular file.
NodeKind KindOfHandle(HANDLE handle, NodeId* id = nullptr) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info))
        return NodeKind::Other;
    if (id)
        *id = IdOf(info);
    return KindOfAttributes(info.dwFileAttributes);
}

// The folders each thread holds the lock of: a second lock of the same folder from the same thread would
// wait for itself for ever.
thread_local std::set<NodeId> tHeldFolders;

// The named temporary of the write in progress, for RemovePendingTemporary, which the console's
// interrupt handler calls on a thread of its own: fixed storage, set and cleared around the moments a
// name exists.
std::atomic<bool> gPending{false};
wchar_t gPendingPath[4096];

void SetPending(const std::wstring& path) {
    gPending.store(false);
    if (path.size() >= std::size(gPendingPath))
        return;
    std::wmemcpy(gPendingPath, path.c_str(), path.size() + 1);
    gPending.store(true);
}

void ClearPending() {
    gPending.store(false);
}

// Another program may hold the target open for a moment (the game, a virus scanner, an editor): such a
// replace is tried again for about two seconds.
bool IsPassingConflict(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}
constexpr auto kConflictPatience = std::chrono::seconds(2);
constexpr auto kConflictPause = std::chrono::milliseconds(50);

} // namespace

NodeKind KindOf(const std::string& path, std::error_code* error) {
    if (IsDeviceName(path))
        return NodeKind::Other;
    const std::wstring wide = SystemPath(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD code = ::GetLastError();
        if (error && !IsMissingError(code))
            *error = Win32Error(code);
        return NodeKind::Missing;
    }
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return KindOfAttributes(data.dwFileAttributes);
    // A link: what it leads to, or nothing for a dangling one.
    const HANDLE handle = OpenForInfo(wide);
    if (handle == INVALID_HANDLE_VALUE)
        return NodeKind::Missing;
    const NodeKind kind = KindOfHandle(handle);
    ::CloseHandle(handle);
    return kind;
}

// The attributes of a link are its own: it is not followed.
bool HasEntry(const std::string& path) {
    return IsDeviceName(path) || ::GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WriteTargetOf(const std::string& path, std::error_code&) {
    const std::wstring wide = SystemPath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    // A link to a file is written through: the file at its end is replaced.
    const HANDLE handle = OpenForInfo(wide);
    if (handle == INVALID_HANDLE_VALUE)
        return path;
    std::wstring final(32768, L'\0');
    const DWORD size = ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()), 0);
    ::CloseHandle(handle);
    if (size == 0 || size >= final.size())
        return path;
    final.resize(size);
    return Utf8(final);
}

std::error_code MakeFolder(const std::string& path) {
    return ::CreateDirectoryW(SystemPath(path).c_str(), nullptr) ? std::error_code() : LastError();
}

InputFile::~InputFile() {
    CloseOwned(mHandle);
}

OpenFolder::~OpenFolder() = default;

std::error_code OpenFolder::Open(const std::string& path) {
    mPath = path;
    return KindOf(path) == NodeKind::Folder ? std::error_code() : Win32Error(ERROR_DIRECTORY);
}

std::error_code InputFile::Open(const OpenFolder& folder, const char* name) {
    return Open(folder.Path() + SeparatorAfter(folder.Path()) + name);
}

std::error_code InputFile::Open(const std::string& path) {
    CloseOwned(mHandle);
    if (IsDeviceName(path))
        return NotRegularFileError();
    // Others may go on reading, writing and replacing the file meanwhile, as they may on Linux. A program
    // that holds it open for itself alone for a moment is waited for, as a replace waits.
    const std::wstring wide = SystemPath(path);
    const auto deadline = std::chrono::steady_clock::now() + kConflictPatience;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (;;) {
        handle = ::CreateFileW(wide.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            break;
        const DWORD error = ::GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            std::chrono::steady_clock::now() >= deadline)
            return Win32Error(error);
        std::this_thread::sleep_for(kConflictPause);
    }
    const NodeKind kind = KindOfHandle(handle);
    LARGE_INTEGER size{};
    if (kind != NodeKind::Regular || !::GetFileSizeEx(handle, &size)) {
        ::CloseHandle(handle);
        return kind == NodeKind::Folder ? std::make_error_code(std::errc::is_a_directory)
                                        : NotRegularFileError();
    }
    mHandle = FromHandle(handle);
    mSizeHint = static_cast<std::uint64_t>(size.QuadPart);
    return {};
}

std::size_t InputFile::Read(char* buffer, std::size_t size, std::error_code& error) {
    DWORD done = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(AsHandle(mHandle), buffer, ask, &done, nullptr)) {
        error = LastError();
        return 0;
    }
    return done;
}

FolderLock::~FolderLock() {
    if (mLocked) {
        tHeldFolders.erase(mId);
        ::ReleaseMutex(AsHandle(mHandle));
    }
    CloseOwned(mHandle);
}

std::error_code FolderLock::Acquire(const std::string& folder) {
    mFolder = folder;
    const HANDLE dir = OpenForInfo(SystemPath(folder));
    if (dir == INVALID_HANDLE_VALUE)
        return LastError();
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(dir, &info);
    const std::error_code error = known ? std::error_code() : LastError();
    ::CloseHandle(dir);
    if (!known)
        return error;
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Win32Error(ERROR_DIRECTORY);
    mId = IdOf(info);
    if (tHeldFolders.count(mId))
        return std::make_error_code(std::errc::resource_deadlock_would_occur);
    // A named kernel mutex for the folder's identity, so every path to the folder finds the same one; the
    // system gives it up when its holder dies, and the next waiter is told so (WAIT_ABANDONED).
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"Global\\plotwright-folder-%08llx-%016llx",
                  static_cast<unsigned long long>(mId.volume), static_cast<unsigned long long>(mId.index));
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name);
    if (!mutex && ::GetLastError() == ERROR_ACCESS_DENIED) // no right to the global namespace
        mutex = ::CreateMutexW(nullptr, FALSE, name + std::wcslen(L"Global\\"));
    if (!mutex)
        return LastError();
    mHandle = FromHandle(mutex);
    const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return LastError();
    tHeldFolders.insert(mId);
    mLocked = true;
    return {};
}

std::error_code EntryAttributes(const FolderLock& lock, const std::string& name, NodeAttributes& out) {
    out = {};
    if (IsDeviceName(name)) {
        out.kind = NodeKind::Other;
        return {};
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(SystemPath(lock.Folder(), name).c_str(), GetFileExInfoStandard, &data)) {
        const DWORD code = ::GetLastError();
        return IsMissingError(code) ? std::error_code() : Win32Error(code);
    }
    // A link made since the target was found is not followed, as on other systems.
    out.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                   ? NodeKind::Other
                   : KindOfAttributes(data.dwFileAttributes);
    out.mode = data.dwFileAttributes;
    if (out.kind == NodeKind::Regular && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        out.writable = Win32Error(ERROR_ACCESS_DENIED);
    return {};
}

Replacement::~Replacement() {
    Discard();
}

void Replacement::Discard() {
    CloseOwned(mHandle);
    if (!mTempName.empty()) {
        ::DeleteFileW(SystemPath(mLock->Folder(), mTempName).c_str());
        ClearPending();
        mTempName.clear();
    }
}

std::error_code Replacement::Create(const FolderLock& lock, const std::string& name,
                                    const NodeAttributes& existing) {
    mLock = &lock;
    mName = name;
    // Where the target exists, ReplaceFileW gives the new file the target's attributes, security and
    // creation time; a new file gets the folder's defaults.
    (void)existing;
    for (int attempt = 0; attempt < 100; ++attempt) {
        mTempName = RandomTemporaryName(name);
        const std::wstring path = SystemPath(lock.Folder(), mTempName);
        SetPending(path);
        const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            mHandle = FromHandle(handle);
            return {};
        }
        const DWORD error = ::GetLastError();
        ClearPending();
        mTempName.clear();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return Win32Error(error);
    }
    return Win32Error(ERROR_FILE_EXISTS);
}

std::error_code Replacement::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD done = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(AsHandle(mHandle), bytes.data(), ask, &done, nullptr))
            return LastError();
        bytes.remove_prefix(done);
    }
    return {};
}

std::error_code Replacement::Flush() {
    if (!::FlushFileBuffers(AsHandle(mHandle)))
        return LastError();
    mFlushed = true;
    return {};
}

std::error_code Replacement::Commit(bool) {
    if (!mFlushed)
        if (const std::error_code error = Flush())
            return error;
    CloseOwned(mHandle);
    const std::wstring temporary = SystemPath(mLock->Folder(), mTempName);
    const std::wstring target = SystemPath(mLock->Folder(), mName);
    const auto deadline = std::chrono::steady_clock::now() + kConflictPatience;
    for (;;) {
        const bool exists = ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        const bool done =
            exists ? ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                                    nullptr)
                   : ::MoveFileExW(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (done)
            break;
        const DWORD error = ::GetLastError();
        if (!IsPassingConflict(error) || std::chrono::steady_clock::now() >= deadline)
            return Win32Error(error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
                                      error == ERROR_UNABLE_TO_MOVE_REPLACEMENT
                                  ? ERROR_SHARING_VIOLATION
                                  : error);
        std::this_thread::sleep_for(kConflictPause);
    }
    ClearPending();
    mTempName.clear();
    return {};
}

std::error_code FlushFolder(const FolderLock&) {
    return {};
}

void RemovePendingTemporary() {
    if (gPending.exchange(false))
        ::DeleteFileW(gPendingPath);
}

std::error_code ListFolder(const std::string& folder, NodeId& id, std::vector<FolderEntry>& entries) {
    const std::wstring path = SystemPath(folder);
    const HANDLE dir = OpenForInfo(path);
    if (dir == INVALID_HANDLE_VALUE)
        return LastError();
    const NodeKind kind = KindOfHandle(dir, &id);
    ::CloseHandle(dir);
    if (kind != NodeKind::Folder)
        return Win32Error(ERROR_DIRECTORY);
    std::wstring pattern = path;
    if (!pattern.empty() && !IsSeparator(pattern.back()))
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? std::error_code() : LastError();
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        FolderEntry item{Utf8(name), KindOfAttributes(found.dwFileAttributes)};
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) // a link: what it leads to
            item.kind = KindOf(folder + SeparatorAfter(folder) + item.name);
        entries.push_back(std::move(item));
    } while (::FindNextFileW(find, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(find);
    return error == ERROR_NO_MORE_FILES ? std::error_code() : Win32Error(error);
}

bool RemoveEntry(const FolderLock& lock, const std::string& name) {
    return ::DeleteFileW(SystemPath(lock.Folder(), name).c_str());
}

std::error_code RenameEntry(const FolderLock& lock, const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing target fails the move.
    if (!::MoveFileExW(SystemPath(lock.Folder(), from).c_str(), SystemPath(lock.Folder(), to).c_str(),
                       MOVEFILE_WRITE_THROUGH))
        return LastError();
    return {};
}

bool IsSystemFolder(const NodeId&) {
    return false;
}

void ReturnFreedMemory() {}

void ReturnLargeBlocksWhenFreed() {}

void LowerThreadPriority() {
    // Windows gives each thread its own priority, which threads started later do not inherit; the work
    // pool's threads then compete with the window's at normal priority.
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

char PathSeparator() {
    return '\\';
}

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace pw::platform
