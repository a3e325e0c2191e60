#include "buttons/OptionGroup.h"

#include <charconv>
#include <optional>

namespace buttons {
namespace {

// The count is read back as a 16-bit signed integer; a value that does not fit is a fault.
std::optional<int> ReadCount(win::WindowServices& ws, win::HWND container) {
    const std::uintptr_t raw = ws.GetPropA(container, OptCountProperty);
    if (raw > 0x7FFF) return std::nullopt;
    return static_cast<int>(raw);
}

std::uintptr_t Address(ButtonControl& control) { return reinterpret_cast<std::uintptr_t>(&control); }

ButtonControl* Member(std::uintptr_t entry) { return reinterpret_cast<ButtonControl*>(entry); }

}  // namespace

std::string OptionEntryName(int index) { return "qk_Obj" + std::to_string(index); }

win::HWND ContainerWindow(ButtonControl& control) {
    const std::string tag = control.Host().Tag();
    std::uintptr_t value = 0;
    const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), value);
    if (error == std::errc{} && end != tag.data()) return win::HWND{value};
    return control.State().Container.Window;
}

bool OptionToggle(ButtonControl& self, std::int16_t action) {
    win::WindowServices& ws = self.Windows();
    const win::HWND container = ContainerWindow(self);
    const std::optional<int> count = ReadCount(ws, container);
    if (!count) return false;
    const int n = *count;
    const std::uintptr_t me = Address(self);

    // Switch-off pass: a member that joins while on, or is switched on, turns the others off.
    if ((action == static_cast<std::int16_t>(OptionAction::Join) || n > 0) && self.GetValue()) {
        for (int i = 1; i <= n; ++i) {
            const std::uintptr_t entry = ws.GetPropA(container, OptionEntryName(i));
            if (entry == 0) return false;  // a gap in the numbering: stop where we are
            if (entry != me) Member(entry)->SetValue(false);
        }
    }

    switch (static_cast<OptionAction>(action)) {
        case OptionAction::Join:
            if (n + 1 > 0x7FFF) return false;
            ws.SetPropA(container, OptCountProperty, static_cast<std::uintptr_t>(n + 1));
            ws.SetPropA(container, OptionEntryName(n + 1), me);
            return false;
        case OptionAction::Leave: {
            // A button that is not a member leaves the group as it is.
            int position = 0;
            for (int i = 1; i <= n; ++i) {
                const std::uintptr_t entry = ws.GetPropA(container, OptionEntryName(i));
                if (entry == 0) return false;
                if (entry == me) {
                    position = i;
                    break;
                }
            }
            if (position == 0) return false;
            for (int i = position + 1; i <= n; ++i)
                ws.SetPropA(container, OptionEntryName(i - 1), ws.GetPropA(container, OptionEntryName(i)));
            ws.RemovePropA(container, OptionEntryName(n));
            if (n - 1 == 0)
                ws.RemovePropA(container, OptCountProperty);
            else
                ws.SetPropA(container, OptCountProperty, static_cast<std::uintptr_t>(n - 1));
            return false;
        }
        case OptionAction::Query:
            for (int i = 1; i <= n; ++i) {
                const std::uintptr_t entry = ws.GetPropA(container, OptionEntryName(i));
                if (entry == 0) return false;
                if (Member(entry)->GetValue()) return true;
            }
            return false;
        case OptionAction::Select:
        default:
            return false;
    }
}

}  // namespace buttons
