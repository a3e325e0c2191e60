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

// User and kernel time of this thread in microseconds (FILETIME counts 100 ns).
double ThreadCpu() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto us = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10.0;
    };
    return us(kernel) + us(user);
}

struct Timing {
    double wall = 0;  // microseconds a redraw
    double cpu = 0;
};

// The median of several rounds, so a stray pause of the machine does not decide the figure. Wall
// time includes the work Wine's server does for the user32 calls; thread CPU time does not.
Timing MicrosecondsPerRedraw(difftest::side::ButtonSequence& seq, bool withIcon, int redraws) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < redraws / 10 + 1; ++i) seq.Redraw(withIcon);
    std::vector<double> walls, cpus;
    for (int r = 0; r < 5; ++r) {
        const double start = Now(frequency), startCpu = ThreadCpu();
        for (int i = 0; i < redraws; ++i) seq.Redraw(withIcon);
        GdiFlush();
        walls.push_back((Now(frequency) - start) / redraws);
        cpus.push_back((ThreadCpu() - startCpu) / redraws);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
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
    const Timing plain = MicrosecondsPerRedraw(seq, false, 5000);
    const Timing icon = MicrosecondsPerRedraw(seq, true, 400);
    std::printf("wine_without_icon_us %.2f %.2f\n", plain.wall, plain.cpu);
    std::printf("wine_with_icon_us %.2f %.2f\n", icon.wall, icon.cpu);
    return 0;
}
