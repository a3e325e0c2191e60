// The properties a button's host holds for it (ForeColor, Font, Enabled, MousePointer, MouseIcon,
// AccessKeys, Tag), with the checks every host applies before storing one, and the custom
// pointer's picture as plain pixels. PropertyHoldingHost stores them for every host.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonTypes.h"

namespace buttons {

// Throw std::invalid_argument for what no host accepts: a MousePointer other than 0 to 15 and 99
// (custom), a MouseIcon that is a bitmap rather than an icon or cursor.
void CheckMousePointer(std::int32_t pointer);
void CheckMouseIcon(const PictureRef& icon);

struct HostProperties {
    OleColor ForeColor = SysButtonText;
    FontDesc Font;
    bool Enabled = true;
    std::int32_t MousePointer = 0;
    PictureRef MouseIcon;
    std::string AccessKeys;
    std::string Tag;

    void SetMousePointer(std::int32_t pointer) {
        CheckMousePointer(pointer);
        MousePointer = pointer;
    }
    void SetMouseIcon(PictureRef icon) {
        CheckMouseIcon(icon);
        MouseIcon = std::move(icon);
    }
};

// ButtonHost's host-held properties, stored and checked the same way by every host. A host hears
// through the hooks of the changes its window must follow and implements the rest of ButtonHost.
class PropertyHoldingHost : public ButtonHost {
public:
    OleColor ForeColor() const final { return props_.ForeColor; }
    void SetForeColor(OleColor c) final { props_.ForeColor = c; }
    FontDesc Font() const final { return props_.Font; }
    void SetFont(const FontDesc& f) final { props_.Font = f; }
    bool Enabled() const final { return props_.Enabled; }
    void SetEnabled(bool e) final {
        props_.Enabled = e;
        EnabledChanged();
    }
    std::int32_t MousePointer() const final { return props_.MousePointer; }
    // Accepts the platform's codes 0 to 15 and 99 (custom); throws std::invalid_argument otherwise,
    // before anything changes.
    void SetMousePointer(std::int32_t p) final {
        props_.SetMousePointer(p);
        PointerChanged();
    }
    PictureRef MouseIcon() const final { return props_.MouseIcon; }
    // Accepts icons, cursors and empty; throws std::invalid_argument for a bitmap.
    void SetMouseIcon(PictureRef icon) final {
        props_.SetMouseIcon(std::move(icon));
        PointerChanged();
    }
    std::string AccessKeys() const final { return props_.AccessKeys; }
    void SetAccessKeys(const std::string& keys) final {
        props_.AccessKeys = keys;
        AccessKeysChanged();
    }
    std::string Tag() const final { return props_.Tag; }
    void SetTag(const std::string& tag) final { props_.Tag = tag; }

protected:
    // Called after the new value is stored.
    virtual void EnabledChanged() {}
    virtual void PointerChanged() {}  // MousePointer or MouseIcon
    virtual void AccessKeysChanged() {}

private:
    HostProperties props_;
};

// The custom pointer (MousePointer 99) as 0xAARRGGBB pixels, transparent where the icon's AND mask
// is set; empty for any other pointer or a picture without a 32 bpp colour image and its mask.
struct CursorImage {
    int Width = 0;
    int Height = 0;
    int HotX = 0;
    int HotY = 0;
    std::vector<std::uint32_t> Pixels;  // row by row, top first
};
std::optional<CursorImage> CustomCursorImage(std::int32_t pointer, const PictureRef& icon);

}  // namespace buttons
