#include "hosts/win32/DesktopScreen.h"

#include "gdi/Screen.h"

#include <windows.h>

namespace hosts::win32 {

bool ApplyScreenSize() {
    return gdi::SetScreenSize({::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}

}  // namespace hosts::win32
