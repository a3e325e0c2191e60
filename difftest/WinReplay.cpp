// The Wine side of the differential tests: replays drawing scripts through gdi32/user32.
// Built with MinGW-w64 and run under Wine; writes one result file per script.
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace difftest::side {

HBITMAP NewColourBitmap(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down, as ours
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

HFONT NewFont(const LOGFONTA& lf) { return CreateFontIndirectA(&lf); }

HICON NewIcon(HBITMAP mask, HBITMAP colour) {
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask;
    info.hbmColor = colour;
    return CreateIconIndirect(&info);
}

HICON ScaledIconCopy(HICON icon, int cx, int cy) {
    return static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
}

std::vector<std::uint32_t> ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    GdiFlush();
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.data(), &bi, DIB_RGB_COLORS);
    for (std::uint32_t& p : out) p &= 0xFFFFFFu;
    return out;
}

}  // namespace difftest::side

#include "ReplayCalls_p.h"

namespace {

// Fonts are registered from the files named on the command line, so both sides lay text out
// with the very same font files rather than whatever Wine ships.
int Usage() {
    std::fprintf(stderr, "usage: WinReplay.exe [--font FILE]... OUTDIR SCRIPT...\n");
    return 2;
}

std::string BaseName(const std::string& path) {
    std::string name = path;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    // A crash must not end in a dialog; the runner sees the missing "end" line instead.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    int i = 1;
    for (; i + 1 < argc && std::string(argv[i]) == "--font"; i += 2) {
        if (AddFontResourceExA(argv[i + 1], FR_PRIVATE, nullptr) == 0) {
            std::fprintf(stderr, "cannot register font %s\n", argv[i + 1]);
            return 1;
        }
    }
    if (argc - i < 2) return Usage();
    const std::string outDir = argv[i++];
    int failures = 0;
    for (; i < argc; ++i) {
        const std::string out = outDir + "\\" + BaseName(argv[i]) + ".wine.txt";
        difftest::Result result;
        try {
            result = difftest::side::Replayer().Run(difftest::LoadScript(argv[i]));
        } catch (const std::exception& e) {
            result.error = e.what();
        }
        std::ofstream file(out, std::ios::binary);
        difftest::WriteResult(file, result);
        if (!file) {
            std::fprintf(stderr, "cannot write %s\n", out.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
