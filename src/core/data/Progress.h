#pragma once
// How long work tells its caller how far it is and learns whether to stop. The work calls the hook at
// its safe points, the places where stopping leaves every file whole; each piece of work says in its
// contract what a stop leaves behind.

#include <cstddef>
#include <functional>

namespace pw {

// Called with the steps done and all steps (0 when not known yet); returns false when the work is to stop
// at this safe point. It may be called from any thread the work runs on.
using ProgressHook = std::function<bool(std::size_t done, std::size_t total)>;

// Reports to hook when there is one; returns whether the work goes on (always, without a hook).
inline bool GoOn(const ProgressHook& hook, std::size_t done, std::size_t total) {
    return !hook || hook(done, total);
}

} // namespace pw
