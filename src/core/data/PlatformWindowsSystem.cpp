// The platform layer on Windows, beside the files: the system's error texts, the conversions between UTF-8
// and UTF-16 or a code page, and the process's surroundings (its arguments, console, environment,
// processors).

#include "core/data/Platform.h"

#include "core/data/Cp1251.h"
#include "core/data/PlatformWindowsDetail.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace pw::platform {
namespace windows_detail {

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

} // namespace

std::error_code Win32Error(DWORD code) {
    return {static_cast<int>(code), Win32()};
}

std::error_code LastError() {
    return Win32Error(::GetLastError());
}

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

} // namespace windows_detail

using namespace windows_detail;

unsigned UsableProcessors() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0)
        return static_cast<unsigned>(__builtin_popcountll(process));
    return std::max(1u, std::thread::hardware_concurrency());
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
