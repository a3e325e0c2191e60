// The program's notices reach the debugger's output: caught here as the debug-print exceptions
// OutputDebugString raises for an attached debugger.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "hosts/win32/ProgramLog.h"

namespace hosts::win32 {
namespace {

// Both kinds: Windows raises the wide one first and Wine only the ANSI one.
constexpr DWORD kPrintAnsi = 0x40010006;  // DBG_PRINTEXCEPTION_C
constexpr DWORD kPrintWide = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C

std::wstring printed;

LONG CALLBACK CatchPrint(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
    if (record.ExceptionCode == kPrintWide) {
        printed.assign(reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]), length ? length - 1 : 0);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (record.ExceptionCode == kPrintAnsi && printed.empty()) {
        const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        const int size = static_cast<int>(length ? length - 1 : 0);
        printed.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0)));
        MultiByteToWideChar(CP_ACP, 0, text, size, printed.data(), static_cast<int>(printed.size()));
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(DebugOutputLog, OneNamedLineWithItsAccentsReachesTheDebugger) {
    printed.clear();
    void* handler = AddVectoredExceptionHandler(1, CatchPrint);
    ASSERT_NE(handler, nullptr);
    DebugOutputLog().Line("transmit time-out: speech from PY2ÁÉ stopped");
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(printed, L"dizo-chat: transmit time-out: speech from PY2\u00c1\u00c9 stopped\n");
}

}  // namespace
}  // namespace hosts::win32
