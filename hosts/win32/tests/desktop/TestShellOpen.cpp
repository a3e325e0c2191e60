// The shell's open from the window's thread without COM (EchoLink absent) and with it (EchoLink's
// and the voice's apartment): the call is made, and the thread is left as it was found.
#include <gtest/gtest.h>

#include <thread>

#include "hosts/win32/ShellOpen.h"

#include <windows.h>
#include <objbase.h>

namespace hosts::win32 {
namespace {

TEST(ShellOpen, LeavesEachThreadsComAsItFoundIt) {
    relay::ShellOpenRequest request;
    request.verb = "open";
    request.file = "Z:\\nowhere\\dizo-missing.txt";
    const struct {
        const char* name;
        DWORD before;  // 0: no COM on the thread
        HRESULT after;  // what a single-threaded apartment asked for afterwards answers
    } cases[] = {
        {"no COM", 0, S_OK},
        {"single-threaded", COINIT_APARTMENTTHREADED, S_FALSE},
    };
    for (const auto& c : cases) {
        std::intptr_t result = 0;
        HRESULT after = E_FAIL;
        std::thread([&] {
            if (c.before != 0) ::CoInitializeEx(nullptr, c.before);
            result = ShellOpen(win::HWND(), request);
            after = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            if (SUCCEEDED(after)) ::CoUninitialize();
            if (c.before != 0) ::CoUninitialize();
        }).join();
        EXPECT_LE(result, 32) << c.name << ": a missing file cannot be opened";
        EXPECT_GT(result, 0) << c.name;
        EXPECT_EQ(after, c.after) << c.name;
    }
}

}  // namespace
}  // namespace hosts::win32
