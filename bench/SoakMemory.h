// Memory figures for the soak benchmarks: the process's resident set and the heap bytes in use.
// Both read 0 where the platform has no such figure (the Windows build).
#pragma once

#include <fstream>
#if defined(__linux__)
#include <malloc.h>
#include <unistd.h>
#endif

namespace bench {

inline double ResidentKb() {
#if defined(__linux__)
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
#else
    return 0;
#endif
}

// Bytes handed out by malloc and not yet freed: unlike the resident set, this does not count
// pages the allocator keeps after a free, so a leak shows here and allocator slack does not.
inline double LiveHeapKb() {
#if defined(__GLIBC__)
    return static_cast<double>(mallinfo2().uordblks) / 1024.0;
#else
    return 0;
#endif
}

}  // namespace bench
