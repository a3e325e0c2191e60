// Form1's help panel and About buttons: widen or narrow the window, show the About window modally.
#include "relay/Form1.h"
#include "relay/Steps.h"
#include "relay/Texts.h"

namespace relay {

// A window that cannot be resized now (minimised) keeps its size; the next press tries again.
void Form1::AAjudaClick() {
    services_.controls.SetWidth(kWidthHelpShown);
    services_.controls.SetHeight(kWindowHeight);
}

void Form1::FAjudaClick() {
    services_.controls.SetWidth(kWidthHelpHidden);
    services_.controls.SetHeight(kWindowHeight);
}

void Form1::SobreClick() {
    struct ModalScope {
        int& depth;
        explicit ModalScope(int& d) : depth(d) { ++depth; }
        ~ModalScope() { --depth; }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    } scope(modalDepth_);
    TryStep([&] { services_.program.ShowModal(Window::Sobre); });
}

}  // namespace relay
