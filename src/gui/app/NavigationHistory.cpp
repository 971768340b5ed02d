#include "gui/app/NavigationHistory.h"

namespace pw {

void NavigationHistory::Visit(const Place& place) {
    if (mCurrent != kNowhere && mPlaces[mCurrent] == place)
        return;
    mPlaces.resize(mCurrent == kNowhere ? 0 : mCurrent + 1);
    mPlaces.push_back(place);
    if (mPlaces.size() > kLimit)
        mPlaces.erase(mPlaces.begin());
    mCurrent = mPlaces.size() - 1;
}

} // namespace pw
