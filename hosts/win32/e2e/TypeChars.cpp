// dizo-e2e-type.exe CAPTION TEXT: hands TEXT, character by character, to the control that has the
// keyboard focus in the top-level window CAPTION, as WM_CHAR, which is what the keyboard's
// translation gives it. For the end-to-end scenarios' characters that xdotool cannot type into
// Wine (anything outside the keyboard map). Tests only. Exit 1: no such window or no focus.
#include <string>

#include <windows.h>
#include <shellapi.h>

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr || count != 3) return 2;
    const HWND top = FindWindowW(nullptr, argv[1]);
    const std::wstring text = argv[2];
    LocalFree(argv);
    if (top == nullptr) return 1;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) || info.hwndFocus == nullptr) return 1;
    for (const wchar_t c : text) {
        if (!PostMessageW(info.hwndFocus, WM_CHAR, c, 1)) return 1;
    }
    return 0;
}
