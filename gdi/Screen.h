// The display the drawing layer answers for: its size in pixels, as GetDeviceCaps reports it for
// the screen and for memory DCs. The host sets the real display's; without one, 1024x768.
#pragma once

namespace gdi {

struct ScreenSize {
    int Width = 1024;
    int Height = 768;
};

// A size that is not positive both ways is refused (false) and the previous one stays.
bool SetScreenSize(ScreenSize size);
ScreenSize GetScreenSize();

}  // namespace gdi
