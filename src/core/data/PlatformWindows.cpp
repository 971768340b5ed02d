// The platform layer on Windows. Paths arrive in UTF-8 and are converted to UTF-16 here, made full and
// given the "\\?\" prefix, so long paths work and a path as a Unix shell under Wine passes it
// ("/tmp/x/out.info") reaches the same file. Every call is the wide-character one.

#include "core/data/Platform.h"

#include "core/data/Cp1251.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

namespace pw::platform {
namespace {

// Win32 error codes, with the system's own text in the user's language and the portable conditions
// the rest of the program compares with (a missing file, a folder, no permission).
class Win32Category : public std::error_category {
public:
    const char* name() const noexcept override { return "win32"; }
    std::string message(int code) const override;
    std::error_condition default_error_condition(int code) const noexcept override;
};

const Win32Category& Win32() {
    static const Win32Category category;
    return category;
}

std::error_code Win32Error(DWORD code) {
    return {static_cast<int>(code), Win32()};
}

std::error_code LastError() {
    return Win32Error(::GetLastError());
}

// UTF-8 as UTF-16; text that is no UTF-8 (a path given with --raw) is read as Windows-1251.
std::wstring Wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    UINT codePage = CP_UTF8;
    int size = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, utf8.data(),
                                     static_cast<int>(utf8.size()), nullptr, 0);
    if (size == 0) {
        codePage = 1251;
        size = ::MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

std::string Win32Category::message(int code) const {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (length > 0 && text)
        message = Utf8(std::wstring_view(text, length));
    if (text)
        ::LocalFree(text);
    while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ')
        message.pop_back();
    return message.empty() ? "System error " + std::to_string(code) : message;
}

std::error_condition Win32Category::default_error_condition(int code) const noexcept {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return std::errc::no_such_file_or_directory;
    case ERROR_DIRECTORY:
        return std::errc::not_a_directory;
    case ERROR_ACCESS_DENIED:
        return std::errc::permission_denied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::errc::file_exists;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return std::errc::device_or_resource_busy;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::errc::no_space_on_device;
    case ERROR_WRITE_PROTECT:
        return std::errc::read_only_file_system;
    case ERROR_FILENAME_EXCED_RANGE:
        return std::errc::filename_too_long;
    default:
        return {code, *this};
    }
}

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

// Converts between UTF-8 and an 8-bit code page; std::nullopt where a character is missing from it.
std::optional<std::string> ToCodePage(UINT codePage, std::string_view utf8) {
    const std::wstring wide = Wide(utf8);
    if (wide.empty())
        return std::string();
    BOOL lost = FALSE;
    const int size = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                           static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
    if (lost || size <= 0)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                          text.data(), size, nullptr, &lost);
    return lost ? std::nullopt : std::optional<std::string>(std::move(text));
}

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

std::error_code InputFile::Open(const OpenFolder& folder, const std::string& name) {
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

unsigned UsableProcessors() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0)
        return static_cast<unsigned>(__builtin_popcountll(process));
    return std::max(1u, std::thread::hardware_concurrency());
}

char PathSeparator() {
    return '\\';
}

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return {argv + std::min(argc, 1), argv + argc};
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

std::string RawArgument(const std::string& argument) {
    return Utf8ToCp1251(argument);
}

void PrepareStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

bool WriteToConsole(int stream, std::string_view utf8) {
    const HANDLE handle = ::GetStdHandle(stream == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode))
        return false;
    std::fflush(stream == 2 ? stderr : stdout);
    const std::wstring wide = Wide(utf8);
    DWORD written = 0;
    return wide.empty() ||
           ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

std::string EnvironmentText(const char* name) {
    const wchar_t* value = ::_wgetenv(Wide(name).c_str());
    return value ? Utf8(value) : std::string();
}

std::string UserCacheFolder() {
    return EnvironmentText("LOCALAPPDATA");
}

std::string SystemCodePageToUtf8(std::string_view text) {
    if (text.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return Utf8(wide);
}

std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8) {
    if (::GetACP() == CP_UTF8)
        return std::string(utf8);
    return ToCodePage(CP_ACP, utf8);
}

} // namespace pw::platform
