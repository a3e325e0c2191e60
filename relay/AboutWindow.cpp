#include "relay/AboutWindow.h"

#include "relay/Texts.h"

namespace relay {

bool AboutWindow::Click(std::string_view buttonName) {
    if (buttonName == "retorna") {
        program_.Unload(Window::Sobre);
        return true;
    }
    if (buttonName == "servidor") {
        ShellOpenRequest request;
        request.parent = Window::Sobre;
        request.verb = "open";
        request.file = std::string(kAuthorPage);
        request.showCommand = 1;
        shell_.Open(request);  // a browser that fails to start is not reported
        return true;
    }
    return false;
}

}  // namespace relay
