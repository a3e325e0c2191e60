// The reference timing: the button-redraw call sequence through Wine's gdi32, in microseconds a redraw.
// Built with MinGW-w64; compare-speed.sh runs it beside our benchmark of the same sequence.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "WinSide_p.h"
#include "ButtonSequence_p.h"

namespace {

double Now(const LARGE_INTEGER& frequency) {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The median of several rounds, so a stray pause of the machine does not decide the figure.
double MicrosecondsPerRedraw(difftest::side::ButtonSequence& seq, bool withIcon, int redraws) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < redraws / 10 + 1; ++i) seq.Redraw(withIcon);
    std::vector<double> rounds;
    for (int r = 0; r < 5; ++r) {
        const double start = Now(frequency);
        for (int i = 0; i < redraws; ++i) seq.Redraw(withIcon);
        GdiFlush();
        rounds.push_back((Now(frequency) - start) / redraws);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    for (int i = 1; i < argc; ++i) AddFontResourceExA(argv[i], FR_PRIVATE, nullptr);
    difftest::side::ButtonSequence seq;
    if (!seq.Ready()) {
        std::fprintf(stderr, "could not create the drawing objects\n");
        return 1;
    }
    std::printf("wine_without_icon_us %.2f\n", MicrosecondsPerRedraw(seq, false, 2000));
    std::printf("wine_with_icon_us %.2f\n", MicrosecondsPerRedraw(seq, true, 400));
    return 0;
}
