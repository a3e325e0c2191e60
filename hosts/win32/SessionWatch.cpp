#include "hosts/win32/SessionWatch.h"

#include <windows.h>

namespace hosts::win32 {

struct SessionWatch::Shared {
    std::function<void()> ending;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
    ~Shared() {
        if (ready != nullptr) CloseHandle(ready);
    }
};

namespace {

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shared = reinterpret_cast<SessionWatch::Shared*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_QUERYENDSESSION:
        if (shared != nullptr) shared->ending();
        return TRUE;  // the program never stands in the way of a shutdown
    case WM_ENDSESSION:
        if (shared != nullptr && wParam != FALSE) shared->ending();
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

DWORD WINAPI WatchMain(void* parameter) {
    auto* shared = static_cast<SessionWatch::Shared*>(parameter);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WatchProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = SessionWatch::kWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when registered already
    // Top-level but never shown: message-only windows are not told of the session's end.
    shared->window = CreateWindowExW(WS_EX_TOOLWINDOW, SessionWatch::kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, windowClass.hInstance, nullptr);
    if (shared->window != nullptr) SetWindowLongPtrW(shared->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shared));
    SetEvent(shared->ready);
    if (shared->window == nullptr) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace

SessionWatch::SessionWatch(std::function<void()> ending) : shared_(std::make_shared<Shared>()) {
    shared_->ending = std::move(ending);
    thread_ = CreateThread(nullptr, 0, WatchMain, shared_.get(), 0, nullptr);
    if (thread_ != nullptr) WaitForSingleObject(shared_->ready, INFINITE);
}

SessionWatch::~SessionWatch() {
    if (thread_ == nullptr) return;
    if (shared_->window != nullptr) PostMessageW(shared_->window, WM_CLOSE, 0, 0);
    WaitForSingleObject(static_cast<HANDLE>(thread_), INFINITE);
    CloseHandle(static_cast<HANDLE>(thread_));
}

}  // namespace hosts::win32
