// One copy of the program per desktop: two would key and unkey the same station over each other.
// A second start brings the first copy's window to the front and ends. Owns the named mutex.
#pragma once

#include <cstdint>

namespace hosts::win32 {

class OneCopy {
public:
    // Takes this desktop's mutex, or finds another copy holding it.
    OneCopy();
    ~OneCopy();
    OneCopy(const OneCopy&) = delete;
    OneCopy& operator=(const OneCopy&) = delete;

    bool First() const { return first_; }
    // Brings the first copy's main window to the front, waiting a moment for a copy still starting.
    void ShowFirst() const;

private:
    void* mutex_ = nullptr;
    bool first_ = true;
};

// Marks the first copy's main window, so that a second copy can find it (a window property).
void MarkFirstCopy(std::uintptr_t window);

}  // namespace hosts::win32
