// The owner-drawn button control qkButtons_H: its public properties, methods and events, and the
// lifecycle handlers its host calls. Owns its state, its render buffer and its input engine;
// borrows the host, the window services and the event listener.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "buttons/ButtonControl.h"
#include "buttons/ButtonEvents.h"
#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/Input.h"
#include "buttons/RenderBuffer.h"
#include "forms/PropertyBag.h"

namespace buttons {

// The help texts the form designer shows for each public member.
struct MemberHelp {
    std::string_view Member;
    std::string_view Text;
};
extern const std::array<MemberHelp, 24> MemberHelpTexts;
// Empty for a name that is not a documented member (matched without regard to case).
std::string_view HelpText(std::string_view member);

// Message texts of the design-time information boxes.
inline constexpr std::string_view MsgValueOnCommand = "This property is not applicable for command button modes.";
inline constexpr std::string_view MsgCaptionAlignWithPicture =
    "When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned";
inline constexpr std::string_view MsgFocusRectOnDefault =
    "The focus rectangle may appear on default buttons ONLY while in design mode, \r\nbut will not appear when "
    "the form is running.";
inline constexpr std::string_view MouseIconErrorTitle = "Select .ico Or .cur Files Only";

constexpr std::int32_t CustomMousePointer = 99;

class qkButtons_H final : public ButtonControl {
public:
    qkButtons_H(ButtonHost& host, win::WindowServices& windows);
    // The Terminate handler: stops the hover timer and releases every drawing object it created.
    ~qkButtons_H() override;
    qkButtons_H(const qkButtons_H&) = delete;
    qkButtons_H& operator=(const qkButtons_H&) = delete;

    // ---- Properties (getters have no side effects except PictureSize's, see there).
    std::int32_t ButtonStyle() const { return s_.Props.ButtonStyle; }
    void SetButtonStyle(std::int32_t style);
    std::int32_t Mode() const { return s_.Props.Mode; }
    void SetMode(std::int32_t mode);
    bool Value() const { return s_.Props.Value; }
    void SetValue(bool value) override;
    const std::string& Caption() const { return s_.Props.Caption; }
    void SetCaption(const std::string& caption);
    std::int32_t CaptionAlign() const { return s_.Props.CaptionAlign; }
    void SetCaptionAlign(std::int32_t align);
    std::int32_t CaptionStyle() const { return s_.Props.CaptionStyle; }
    void SetCaptionStyle(std::int32_t style);
    std::int32_t ButtonShape() const { return s_.Props.ButtonShape; }
    void SetButtonShape(std::int32_t shape);
    PictureRef Picture() const { return s_.Props.Picture; }
    void SetPicture(PictureRef picture);
    std::int32_t PictureAlign() const { return s_.Props.PictureAlign; }
    void SetPictureAlign(std::int32_t align);
    bool Enabled() const { return host_.Enabled(); }
    void SetEnabled(bool enabled);
    bool ShowFocusRect() const { return s_.Props.ShowFocusRect; }
    void SetShowFocusRect(bool show);
    // Turns a stored pixel size of 0 into 16, then returns the PictureSizeStep (0..4).
    std::int32_t PictureSize();
    void SetPictureSize(std::int32_t size);
    std::int32_t MousePointer() const { return host_.MousePointer(); }
    void SetMousePointer(std::int32_t pointer);
    PictureRef MouseIcon() const { return host_.MouseIcon(); }
    void SetMouseIcon(PictureRef icon);
    FontDesc Font() const { return host_.Font(); }
    void SetFont(const FontDesc& font);
    std::int32_t FontStyle() const;
    void SetFontStyle(std::int32_t style);
    OleColor ForeColor() const { return host_.ForeColor(); }
    void SetForeColor(OleColor colour);
    OleColor BackColor() const { return s_.Props.BackColor; }
    void SetBackColor(OleColor colour);
    OleColor GradientColor() const { return s_.Props.GradientColor; }
    void SetGradientColor(OleColor colour);
    std::int32_t GradientMode() const { return s_.Props.GradientMode; }
    void SetGradientMode(std::int32_t mode);
    bool ResetDefaultColors() const { return false; }
    void SetResetDefaultColors(bool reset);
    std::int32_t HoverColorLocks() const { return s_.Props.HoverColorLocks; }
    void SetHoverColorLocks(std::int32_t lock);
    OleColor HoverForeColor() const { return s_.Props.HoverForeColor; }
    void SetHoverForeColor(OleColor colour);
    OleColor HoverBackColor() const { return s_.Props.HoverBackColor; }
    void SetHoverBackColor(OleColor colour);
    gdi::HDC hDC() const { return host_.hDC(); }
    win::HWND hwnd() const { return host_.hWnd(); }

    // ---- Methods.
    void Refresh() override;
    void DelayDrawing(bool delay);

    // ---- Events: the container's listener (borrowed; null detaches).
    void SetEventListener(ButtonEvents* listener) { listener_ = listener; }

    // ---- Host lifecycle handlers.
    void InitProperties();
    // Throws forms::FormatError (naming the file, line and key) for a value of the wrong type or a
    // picture that cannot be loaded; the button is left unchanged then.
    void ReadProperties(const forms::PropertyBag& bag);
    void WriteProperties(forms::PropertyBag& bag) const;
    // The host's paint: ends a delay and brings the host's DC up to date; the host shows it after.
    void Paint();
    void Resize();
    // The input, focus, ambient-change and hover notifications go to the input engine.
    ButtonInput& Input() { return *input_; }

    // Rebuilds a derived item: "Font", "Picture" or "BackColor" (any letter case); others do nothing.
    void RefreshCache(std::string_view item);

    // ---- ButtonControl (for the input engine, hover timer and option groups).
    ButtonState& State() override { return s_; }
    void SetDrawingDelayed(bool delayed) override { s_.Drawing.Delayed = delayed; }
    const ButtonState& State() const { return s_; }
    // The drawing buffer, for tests and tools that read the painted pixels (tests also drive its
    // teardown directly).
    const RenderBuffer& Buffer() const { return buffer_; }
    RenderBuffer& Buffer() { return buffer_; }
    ButtonHost& Host() override { return host_; }
    win::WindowServices& Windows() override { return windows_; }
    ButtonEvents* Listener() override { return listener_; }
    bool GetValue() override { return s_.Props.Value; }

private:
    // Each call into the container may destroy this button; these return false when it did, and
    // the caller must then return without touching a member.
    [[nodiscard]] bool Notify(std::string_view key);
    [[nodiscard]] bool DesignTimeMessage(std::string_view text, std::string_view title = {});
    [[nodiscard]] bool Redraw();
    void RecordContainer();
    void SetHoverBackFollowing(OleColor colour);

    ButtonHost& host_;
    win::WindowServices& windows_;
    ButtonEvents* listener_ = nullptr;
    ButtonState s_;
    RenderBuffer buffer_;  // declared after s_: released before the state it was painted from
    std::unique_ptr<ButtonInput> input_;
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace buttons
