// The Wine side of the differential tests: replays drawing scripts through gdi32/user32.
// Built with MinGW-w64 and run under Wine; writes one result file per script.
#include <cstdio>
#include <fstream>
#include <string>

#include "WinSide_p.h"
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
