#include "hosts/win32/OneCopy.h"

#include <string>

#include <windows.h>

namespace hosts::win32 {

namespace {

constexpr wchar_t kMark[] = L"DizoChat.MainWindow";

// Per session ("Local\") and per desktop: another desktop, another station's operator.
std::wstring MutexName() {
    std::wstring name = L"Local\\DizoChat.OneCopy.";
    wchar_t desktop[256] = L"";
    DWORD needed = 0;
    if (GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, desktop, sizeof desktop, &needed)) {
        name += desktop;
    }
    // A mutex name may not hold a backslash past its namespace.
    for (std::size_t i = 6; i < name.size(); ++i) {
        if (name[i] == L'\\') name[i] = L'_';
    }
    return name;
}

BOOL CALLBACK FindMarked(HWND window, LPARAM found) {
    if (GetPropW(window, kMark) == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

OneCopy::OneCopy() {
    mutex_ = CreateMutexW(nullptr, TRUE, MutexName().c_str());
    first_ = mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}

OneCopy::~OneCopy() {
    if (mutex_ == nullptr) return;
    if (first_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

void OneCopy::ShowFirst() const {
    // The first copy may still be starting (EchoLink's creation takes up to its bound).
    for (int tries = 0; tries < 50; ++tries) {
        HWND window = nullptr;
        EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&window));
        if (window != nullptr) {
            if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
            SetForegroundWindow(window);
            return;
        }
        Sleep(100);
    }
}

void MarkFirstCopy(std::uintptr_t window) { SetPropW(reinterpret_cast<HWND>(window), kMark, reinterpret_cast<HANDLE>(1)); }

}  // namespace hosts::win32
