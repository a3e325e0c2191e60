#include "relay/FormControls.h"

namespace relay {

std::string_view ControlName(Control control) {
    switch (control) {
    case Control::Image2:
        return "Image2";
    case Control::Image3:
        return "Image3";
    case Control::Text1:
        return "Text1";
    case Control::Text13:
        return "Text13";
    }
    return "";
}

}  // namespace relay
