// The parts of the platform layer that are the same on every system: the temporaries' names, the
// "not a regular file" error and choosing a path's separator.

#include "core/data/Platform.h"

#include <algorithm>
#include <random>

namespace pw::platform {
namespace {

class NotRegularCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "plotwright"; }
    std::string message(int) const override { return "Not a regular file"; }
};

bool IsAlnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Keeps a temporary's name within the 255 bytes (or UTF-16 units) most file systems allow for one name,
// cut where a UTF-8 character begins so that a system that names files in UTF-16 can spell it.
constexpr std::size_t kTemporaryStemLimit = 200;

std::string_view TemporaryStem(std::string_view target) {
    std::size_t size = std::min(target.size(), kTemporaryStemLimit);
    while (size > 0 && size < target.size() && (static_cast<unsigned char>(target[size]) & 0xC0) == 0x80)
        --size;
    return target.substr(0, size);
}

} // namespace

std::error_code NotRegularFileError() {
    static const NotRegularCategory category;
    return {1, category};
}

std::string TemporaryName(std::string_view target, std::string_view six) {
    std::string name(TemporaryStem(target));
    name += ".~";
    name += six;
    return name;
}

std::string RandomTemporaryName(std::string_view target) {
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937 rng{std::random_device{}()};
    std::string six(6, 'A');
    for (char& c : six)
        c = kChars[rng() % (sizeof kChars - 1)];
    return TemporaryName(target, six);
}

bool IsTemporaryName(std::string_view name, std::string_view target) {
    const std::string_view stem = TemporaryStem(target);
    if (name.size() != stem.size() + 8 || !name.starts_with(stem) || name.substr(stem.size(), 2) != ".~")
        return false;
    for (char c : name.substr(stem.size() + 2))
        if (!IsAlnum(c))
            return false;
    return true;
}

char SeparatorAfter(std::string_view folder) {
    for (auto c = folder.rbegin(); c != folder.rend(); ++c)
        if (IsPathSeparator(*c))
            return *c;
    return PathSeparator();
}

} // namespace pw::platform
