// The display the drawing layer answers for: its size and dots per inch, as GetDeviceCaps reports
// them for the screen and memory DCs. The host sets the real display's; without one, 1024x768, 96 dpi.
#pragma once

namespace gdi {

struct ScreenSize {
    int Width = 1024;
    int Height = 768;
};

// A size that is not positive both ways is refused (false) and the previous one stays.
bool SetScreenSize(ScreenSize size);
ScreenSize GetScreenSize();

// Dots per inch, by which the button captions' point sizes become pixels: a host that scales its
// windows by the screen's dpi gives that same dpi here. One that is not positive is refused (false).
bool SetScreenDpi(int dpi);
int GetScreenDpi();

}  // namespace gdi
