// How the protected handlers run their steps: each is tried, a failure is skipped silently and the
// next step runs. A host that throws from an interface call is treated like one that reports failure.
#pragma once

#include <utility>

namespace relay {

template <class Step>
void TryStep(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
    } catch (...) {
        // Nothing is ever shown to the operator; the handler carries on.
    }
}

}  // namespace relay
