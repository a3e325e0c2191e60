#include "hosts/win32/ProgramMain.h"

#include <exception>

#include "gdi/SysColor.h"
#include "forms/Units.h"
#include "hosts/win32/EmbeddedFiles.h"
#include "hosts/win32/OneCopy.h"
#include "hosts/win32/Program.h"
#include "hosts/wide/WideText.h"

#include <windows.h>
// GDI+ needs the COM property types, which a lean windows.h leaves out.
#include <objidl.h>
#include <gdiplus.h>

namespace hosts::win32 {

namespace {

constexpr int IconResource = 1;

// The button control's system colours are this desktop's.
void ApplyDesktopColours() {
    gdi::SysColorTable table = gdi::DefaultSysColors();
    for (int i = 0; i < gdi::SysColorCount; ++i) table[static_cast<std::size_t>(i)] = ::GetSysColor(i);
    gdi::SetSysColorTable(table);
}

forms::Scale ScreenScale() {
    // Declared aware, the program gets the screen's real dots per inch and scales every window as one.
    ::SetProcessDPIAware();
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return forms::Scale{dpi > 0 ? dpi : 96};
}

}  // namespace

int RunProgram(void* instanceHandle, ProgramServices& services) {
    const OneCopy copy;
    if (!copy.First()) {
        copy.ShowFirst();
        return 0;
    }
    // A window that speech holds for minutes is waited for, not ghosted: a ghost's close box
    // offers to end the process mid-speech, with the transmitter keyed.
    ::DisableProcessWindowsGhosting();
    const auto instance = static_cast<HINSTANCE>(instanceHandle);
    const forms::Scale scale = ScreenScale();
    ApplyDesktopColours();
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    const int iconSize = ::MulDiv(32, scale.Dpi, 96);
    const int smallSize = ::MulDiv(16, scale.Dpi, 96);
    ProgramFiles files;
    files.bigIcon = ::LoadImageW(instance, MAKEINTRESOURCEW(IconResource), IMAGE_ICON, iconSize, iconSize, 0);
    files.smallIcon = ::LoadImageW(instance, MAKEINTRESOURCEW(IconResource), IMAGE_ICON, smallSize, smallSize, 0);
    int code = 1;
    try {
        const EmbeddedFiles carried;
        files.mainWindow = carried.Folder() / "FORM1.FRM";
        files.aboutWindow = carried.Folder() / "SOBRE_.FRM";
        Program program(files, scale, services.EchoLink(), services.Speech(), services.Guard(),
                        services.TransmitLimit());
        code = program.Run();
    } catch (const std::exception& e) {
        // A broken program file is the one failure worth telling the operator about.
        ::MessageBoxW(nullptr, hosts::wide::Widen(e.what()).c_str(), L"dizo-chat", MB_OK | MB_ICONERROR);
    }
    Gdiplus::GdiplusShutdown(gdiplusToken);
    if (files.bigIcon) ::DestroyIcon(static_cast<HICON>(files.bigIcon));
    if (files.smallIcon) ::DestroyIcon(static_cast<HICON>(files.smallIcon));
    return code;
}

}  // namespace hosts::win32
