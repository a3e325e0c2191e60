#include "buttons/qkButtons_H.h"

#include <algorithm>

#include "buttons/CaptionFont.h"
#include "buttons/PictureDraw.h"
#include "buttons/Render.h"
#include "forms/PropertyBag.h"

namespace buttons {

const std::array<MemberHelp, 24> MemberHelpTexts = {{
    {"ButtonStyle", "Various operating system button styles"},
    {"Mode", "Command button, check box or option button mode"},
    {"Value", "Applicable to only check box or option button modes: True or False"},
    {"Caption", "The caption of the button. Double pipe (||) is a line break."},
    {"CaptionAlign", "Horizontal alignment of caption on the button."},
    {"CaptionStyle", "Flat, Embossed or Engraved effects"},
    {"ButtonShape", "Rectangular or various diagonal shapes"},
    {"Picture", "The image used to display on the button."},
    {"PictureAlign", "Alignment of the button image in relation to the caption and/or button."},
    {"Enabled", "Determines if events are fired for this button."},
    {"ShowFocusRect",
     "Allows or prevents a focus rectangle from being displayed. In design mode, this may always be displayed for "
     "button set as Default."},
    {"PictureSize", "Size of button image. Last two options automatically center image."},
    {"MousePointer", "Various optional mouse pointers to use when mouse is over the button"},
    {"MouseIcon",
     "Icon or cursor used to display when mouse is over the button. MousePointer must be set to Custom."},
    {"Font", "Font used to display the caption."},
    {"FontStyle", "Various font attributes that can be changed directly."},
    {"ForeColor", "The color of the caption's font ."},
    {"BackColor", "Button back color. See also ResetDefaultColors"},
    {"GradientColor", "Secondary color used for gradient shades. The BackColor property is the primary color."},
    {"GradientMode", "Various directions to draw the gradient shading."},
    {"ResetDefaultColors",
     "Resets button's back color and text color to Window's standard. The hover properties are also reset."},
    {"HoverColorLocks", "Can ensure the hover colors match the caption and back colors. Click for more options."},
    {"HoverForeColor",
     "Color of button caption's text when mouse is hovering over it. Affects the HoverLockColors property."},
    {"HoverBackColor",
     "Color of button background when mouse is hovering over it. Affects the HoverLockColors property."},
}};

std::string_view HelpText(std::string_view member) {
    const auto it = std::find_if(MemberHelpTexts.begin(), MemberHelpTexts.end(),
                                 [&](const MemberHelp& h) { return forms::KeyEquals(h.Member, member); });
    return it == MemberHelpTexts.end() ? std::string_view{} : it->Text;
}

qkButtons_H::qkButtons_H(ButtonHost& host, win::WindowServices& windows)
    : host_(host), windows_(windows), input_(std::make_unique<ButtonInput>(*this)) {}

qkButtons_H::~qkButtons_H() {
    // The input engine goes first: it stops the hover timer and leaves the option group, so no
    // timer tick or group walk can reach the half-destroyed button.
    input_.reset();
}

bool qkButtons_H::Notify(std::string_view key) {
    const std::weak_ptr<const bool> alive = alive_;
    host_.PropertyChanged(std::string(key));
    return !alive.expired();
}

bool qkButtons_H::DesignTimeMessage(std::string_view text, std::string_view title) {
    if (host_.UserMode()) return true;
    const std::weak_ptr<const bool> alive = alive_;
    if (title.empty()) {
        host_.InfoMessage(std::string(text));
    } else {
        host_.InfoMessageWithTitle(std::string(text), std::string(title));
    }
    return !alive.expired();
}

bool qkButtons_H::Redraw() {
    const std::weak_ptr<const bool> alive = alive_;
    Refresh();
    return !alive.expired();
}

void qkButtons_H::Refresh() {
    // Painted first, presented after: the host is called only once the paint is over.
    if (!RedrawButton(s_, buffer_, host_)) return;
    PresentBuffer(buffer_, host_);
    host_.RefreshNow();
}

void qkButtons_H::DelayDrawing(bool delay) {
    SetDrawingDelayed(delay);
    if (!delay) Refresh();
}

void qkButtons_H::RefreshCache(std::string_view item) {
    if (forms::KeyEquals(item, "Font")) {
        RefreshCaptionFont(buffer_, host_);
    } else if (forms::KeyEquals(item, "Picture")) {
        s_.Measured = MeasurePicture(s_.Props.Picture, s_.Measured);
    } else if (forms::KeyEquals(item, "BackColor")) {
        s_.Colours = DeriveFaceColours(s_.Props);
    }
}

void qkButtons_H::Paint() {
    SetDrawingDelayed(false);
    // The host shows its DC once this returns. A buffer that already shows this frame (the
    // host's own present of a Refresh, or an uncovered window) is neither painted nor copied again.
    if (RedrawButton(s_, buffer_, host_, Repaint::WhenChanged)) PresentBuffer(buffer_, host_);
}

void qkButtons_H::Resize() {
    if (s_.Drawing.Delayed) return;
    ResizeBuffer(s_, buffer_, host_);
    Refresh();
}

void qkButtons_H::RecordContainer() {
    s_.Container.Window = host_.ContainerHwnd();
    host_.SetTag(std::to_string(s_.Container.Window.value));
}

}  // namespace buttons
