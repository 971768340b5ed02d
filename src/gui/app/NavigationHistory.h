#pragma once
// Back and forward across what the window showed, as in a web browser: every file loaded into the
// dialogue or the quest tab and every string-table line jumped to is a place; going back and forward
// moves along them, and a new place drops the places ahead.

#include <cstddef>
#include <string>
#include <vector>

namespace pw {

struct Place {
    enum class Tab { Dialogue, Quest, StringTable } tab = Tab::Dialogue;
    std::string target; // a file's path (the file system's bytes), or a string ID (Windows-1251)
    bool operator==(const Place&) const = default;
};

class NavigationHistory {
public:
    // The place now shown. Showing the current place again adds nothing.
    void Visit(const Place& place);

    bool CanGoBack() const { return mCurrent > 0 && mCurrent != kNowhere; }
    bool CanGoForward() const { return mCurrent + 1 < mPlaces.size(); }
    // The place back or forward from the current one. Only moving there makes it current, so that a
    // move the user declines (an unsaved form kept) or that fails changes nothing.
    const Place& BackPlace() const { return mPlaces[mCurrent - 1]; }
    const Place& ForwardPlace() const { return mPlaces[mCurrent + 1]; }
    void MovedBack() { --mCurrent; }
    void MovedForward() { ++mCurrent; }

private:
    static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);
    // Places beyond this many are forgotten from the oldest.
    static constexpr std::size_t kLimit = 200;
    std::vector<Place> mPlaces;
    std::size_t mCurrent = kNowhere;
};

} // namespace pw
