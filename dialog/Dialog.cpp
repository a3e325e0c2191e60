#include "dialog/Dialog.h"

#include <algorithm>
#include <cctype>

namespace dialog {

namespace {

bool IsArrow(Key k) { return k == Key::Left || k == Key::Right || k == Key::Up || k == Key::Down; }

Move Keep() { return {}; }
Move Drop() { return {Move::Kind::Drop, 0, 0}; }
Move FocusOn(Index target) { return {Move::Kind::Focus, target, 0}; }
Move Press(Index target, std::int16_t key) { return {Move::Kind::Press, target, key}; }

}  // namespace

Keystroke KeystrokeOf(std::int32_t vk, bool shift, bool ctrl, bool alt) {
    Keystroke k;
    k.shift = shift;
    k.ctrl = ctrl;
    k.alt = alt;
    switch (vk) {
    case 9: k.key = Key::Tab; break;
    case 13: k.key = Key::Enter; break;
    case 27: k.key = Key::Escape; break;
    case 37: k.key = Key::Left; break;
    case 38: k.key = Key::Up; break;
    case 39: k.key = Key::Right; break;
    case 40: k.key = Key::Down; break;
    default:
        if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
            k.character = static_cast<char>(std::tolower(vk));
        }
        break;
    }
    return k;
}

Index Dialog::Add(const forms::ControlModel& m) {
    const Index index = names_.Add(m.Name);
    if (index < controls_.size()) return index;
    Entry e;
    e.name = m.Name;
    e.role = dialog::RoleOf(m.Kind);
    e.multiLine = m.Kind == forms::ControlKind::TextBox && m.MultiLine;
    if (m.Kind == forms::ControlKind::Button && m.Settings != nullptr) {
        e.isDefault = m.Settings->ReadBool("Default", false);
        e.isCancel = m.Settings->ReadBool("Cancel", false);
    }
    controls_.push_back(std::move(e));
    return index;
}

void Dialog::SetTabOrder(const std::vector<std::string>& names) {
    tabOrder_.clear();
    for (const std::string& n : names) {
        const std::optional<Index> i = Find(n);
        if (i && std::find(tabOrder_.begin(), tabOrder_.end(), *i) == tabOrder_.end()) tabOrder_.push_back(*i);
    }
}

std::optional<Index> Dialog::Step(std::optional<Index> from, bool forward, bool buttonsOnly,
                                  const LiveControls& live) const {
    const std::size_t n = tabOrder_.size();
    if (n == 0) return std::nullopt;
    const auto at = from ? std::find(tabOrder_.begin(), tabOrder_.end(), *from) : tabOrder_.end();
    // From outside the order, forward starts at the first stop and backward at the last.
    std::size_t pos = at == tabOrder_.end() ? (forward ? n - 1 : 0) : static_cast<std::size_t>(at - tabOrder_.begin());
    for (std::size_t tried = 0; tried < n; ++tried) {
        pos = forward ? (pos + 1) % n : (pos + n - 1) % n;
        const Index c = tabOrder_[pos];
        if (from && c == *from) break;
        if (buttonsOnly && controls_[c].role != Role::Button) continue;
        if (live.Usable(c)) return c;
    }
    return std::nullopt;
}

std::optional<Index> Dialog::FirstStop(const LiveControls& live) const {
    return Step(std::nullopt, true, false, live);
}

std::optional<Index> Dialog::EnterTarget(std::optional<Index> focus, const LiveControls& live) const {
    if (focus && *focus < controls_.size()) {
        const Entry& f = controls_[*focus];
        // A box of several lines takes Enter as a line break.
        if (f.role == Role::TextBox && f.multiLine) return std::nullopt;
        if (f.role == Role::Button && live.Command(*focus) && live.Usable(*focus)) return focus;
    }
    for (Index i = 0; i < controls_.size(); ++i) {
        if (controls_[i].isDefault && live.Usable(i)) return i;
    }
    return std::nullopt;
}

std::optional<Index> Dialog::CancelTarget(const LiveControls& live) const {
    for (Index i = 0; i < controls_.size(); ++i) {
        if (controls_[i].isCancel && live.Usable(i)) return i;
    }
    return std::nullopt;
}

// The next button after the focus (in tab order, round) whose access keys hold the key, so that a
// key shared by two buttons reaches each in turn.
std::optional<Index> Dialog::AccessKeyTarget(char key, std::optional<Index> focus, const LiveControls& live) const {
    const auto wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
    std::vector<Index> order;
    for (Index i = 0; i < controls_.size(); ++i) {
        if (controls_[i].role == Role::Button) order.push_back(i);
    }
    // Buttons in the tab order first, in that order, then any outside it.
    std::stable_sort(order.begin(), order.end(), [this](Index a, Index b) {
        const auto pa = std::find(tabOrder_.begin(), tabOrder_.end(), a) - tabOrder_.begin();
        const auto pb = std::find(tabOrder_.begin(), tabOrder_.end(), b) - tabOrder_.begin();
        return pa < pb;
    });
    const auto at = focus ? std::find(order.begin(), order.end(), *focus) : order.end();
    const std::size_t start = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin()) + 1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Index c = order[(start + k) % order.size()];
        const std::string keys = live.AccessKeys(c);
        const bool holds = std::any_of(keys.begin(), keys.end(), [wanted](char ch) {
            return std::tolower(static_cast<unsigned char>(ch)) == static_cast<unsigned char>(wanted);
        });
        if (holds && live.Usable(c)) return c;
    }
    return std::nullopt;
}

Move Dialog::OnKey(const Keystroke& k, std::optional<Index> focus, const LiveControls& live) const {
    if (focus && *focus >= controls_.size()) focus.reset();
    const Role role = focus ? controls_[*focus].role : Role::Label;
    const bool inBox = focus && role == Role::TextBox;
    const bool onButton = focus && role == Role::Button;
    if (k.alt && !k.ctrl) {
        if (k.key != Key::Other || k.character == 0) return Keep();
        const std::optional<Index> t = AccessKeyTarget(k.character, focus, live);
        return t ? Press(*t, static_cast<std::int16_t>(static_cast<unsigned char>(k.character))) : Keep();
    }
    switch (k.key) {
    case Key::Tab: {
        if (k.ctrl) return Keep();
        const std::optional<Index> t = Step(focus, !k.shift, false, live);
        return t ? FocusOn(*t) : Drop();
    }
    case Key::Enter: {
        if (inBox && controls_[*focus].multiLine) return Keep();
        const std::optional<Index> t = EnterTarget(focus, live);
        if (t) return Press(*t, 13);
        return onButton ? Keep() : Drop();
    }
    case Key::Escape: {
        // Esc belongs to the Cancel button; without one a button hears it as a key and nothing
        // else does: it never closes the window.
        const std::optional<Index> t = CancelTarget(live);
        if (t) return Press(*t, 27);
        return onButton ? Keep() : Drop();
    }
    case Key::Left:
    case Key::Right:
    case Key::Up:
    case Key::Down:
        // A text box moves its caret; a button hands the key to its container (OnArrow).
        if (focus) return Keep();
        return OnArrow(k.key, focus, live);
    case Key::Other: return Keep();
    }
    return Keep();
}

Move Dialog::OnArrow(Key arrow, std::optional<Index> focus, const LiveControls& live) const {
    if (!IsArrow(arrow)) return Drop();
    const bool forward = arrow == Key::Right || arrow == Key::Down;
    const std::optional<Index> t = Step(focus, forward, true, live);
    return t ? FocusOn(*t) : Drop();
}

}  // namespace dialog
