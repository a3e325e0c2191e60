// Random stored descriptions: every Button they hold is loaded, sized (0x0 and 1x1 included) and
// redrawn in a chosen state. A malformed description or value may be refused with an error;
// nothing may crash, read out of bounds or leak drawing objects. Pictures resolve beside the
// program's own window descriptions, so seeds taken from them load their artwork.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <string_view>

#include "buttons/qkButtons_H.h"
#include "buttons/testing/ControlRig.h"
#include "forms/Description.h"
#include "gdi/Gdi.h"

namespace {

struct Shape {
    int width;
    int height;
    std::uint8_t flags;
};

void LoadAndDraw(const forms::Control& control, const Shape& shape) {
    if (control.Kind == forms::ButtonKind) {
        buttons::testing::ControlRig rig(shape.width, shape.height, (shape.flags & 0x10) != 0, false);
        const std::unique_ptr<buttons::qkButtons_H>& button = rig.button;
        try {
            button->ReadProperties(control.Properties);
        } catch (const std::exception&) {
            // A refused value leaves the button as it was: still drawable.
        }
        button->Resize();
        for (int pass = 0; pass < 2; ++pass) {
            button->State().Input.StateFlags = static_cast<std::uint8_t>((shape.flags >> pass) & 7);
            button->State().Input.HoverLit = (shape.flags & 0x20) != 0;
            button->State().Input.ButtonDown = (shape.flags & 0x40) != 0;
            button->Refresh();
        }
    }
    for (const forms::Control& child : control.Children) LoadAndDraw(child, shape);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // The first three bytes choose the client size and the interaction state.
    const Shape shape{data[0] % 8 == 0 ? data[0] % 2 : data[0] % 200, data[1] % 8 == 0 ? data[1] % 2 : data[1] % 80,
                      data[2]};
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
    const gdi::ObjectCounts before = gdi::LiveObjects();
    try {
        const forms::Document doc = forms::ParseDescription(text, "fuzz.frm", std::filesystem::path(DIZO_SOURCE_DIR) / "relay" / "forms");
        LoadAndDraw(doc.Root, shape);
    } catch (const std::exception&) {
        // Clear errors are the expected answer to most random text.
    }
    if (!(gdi::LiveObjects() == before)) __builtin_trap();  // a leaked drawing object
    return 0;
}
