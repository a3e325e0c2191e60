#include "hosts/qt/ButtonWidget.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

#include "buttons/qkButtons_H.h"
#include "dialog/Accessible.h"
#include "dialog/Pointers.h"
#include "gdi/Dc.h"
#include "gdi/Image.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "hosts/qt/KeyCodes.h"
#include "hosts/qt/QtWindowServices.h"

namespace hosts::qt {

namespace {

std::int16_t MouseButtonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return buttons::LeftButton;
    case Qt::RightButton: return buttons::RightButton;
    case Qt::MiddleButton: return buttons::MiddleButton;
    default: return 0;
    }
}

// The platform's Shift argument: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftCode(Qt::KeyboardModifiers m) {
    std::int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

// The Qt cursor for each shape of the one pointer table.
Qt::CursorShape CursorFor(std::int32_t pointer) {
    switch (dialog::PointerShapeFor(pointer)) {
    case dialog::PointerShape::Arrow: return Qt::ArrowCursor;
    case dialog::PointerShape::Cross: return Qt::CrossCursor;
    case dialog::PointerShape::IBeam: return Qt::IBeamCursor;
    case dialog::PointerShape::SizeAll: return Qt::SizeAllCursor;
    case dialog::PointerShape::SizeNESW: return Qt::SizeBDiagCursor;
    case dialog::PointerShape::SizeNS: return Qt::SizeVerCursor;
    case dialog::PointerShape::SizeNWSE: return Qt::SizeFDiagCursor;
    case dialog::PointerShape::SizeWE: return Qt::SizeHorCursor;
    case dialog::PointerShape::UpArrow: return Qt::UpArrowCursor;
    case dialog::PointerShape::Wait: return Qt::WaitCursor;
    case dialog::PointerShape::No: return Qt::ForbiddenCursor;
    case dialog::PointerShape::ArrowAndWait: return Qt::BusyCursor;
    case dialog::PointerShape::Help: return Qt::WhatsThisCursor;
    }
    return Qt::ArrowCursor;
}

}  // namespace

ButtonWidget::ButtonWidget(QWidget* parent, QtWindowServices& windows, std::string name,
                           const forms::PropertyBag& settings, buttons::OleColor ambientBack, QSize size)
    : QWidget(parent),
      windows_(windows),
      name_(std::move(name)),
      buffer_(size.width(), size.height()),
      ambientBack_(ambientBack) {
    setObjectName(QString::fromStdString(name_));
    // Tab only: a left press takes the focus in mousePressEvent, as a platform button does, and
    // a right or middle press leaves it where it is.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(size);
    windows_.Register(this);
    if (parent != nullptr) windows_.Register(parent);
    control_ = std::make_unique<buttons::qkButtons_H>(*this, windows_);
    control_->SetEventListener(this);
    control_->ReadProperties(settings);
    setAccessibleName(SpokenCaption());
}

ButtonWidget::~ButtonWidget() {
    // Give the focus up while whole: the window's default look follows the focus and asks every
    // button, this one too, which it cannot once the control is gone.
    if (hasFocus()) clearFocus();
    control_.reset();  // stops its timer and releases its drawing objects before the buffer goes
}

QString ButtonWidget::SpokenCaption() const {
    const std::string spoken = dialog::SpokenCaption(control_ ? control_->Caption() : std::string());
    return QString::fromUtf8(spoken.data(), static_cast<qsizetype>(spoken.size()));
}

win::HWND ButtonWidget::hWnd() const { return windows_.Handle(this); }

win::HWND ButtonWidget::ContainerHwnd() const { return windows_.Handle(parentWidget()); }

void ButtonWidget::EnabledChanged() { setEnabled(Enabled()); }

// MousePointer 99 shows MouseIcon (an icon or cursor: colour image under its AND mask); any other
// code, or a custom pointer without a usable picture, shows the matching standard shape.
void ButtonWidget::PointerChanged() {
    if (const auto image = buttons::CustomCursorImage(MousePointer(), MouseIcon())) {
        QImage q(image->Width, image->Height, QImage::Format_ARGB32);
        for (int y = 0; y < image->Height; ++y) {
            for (int x = 0; x < image->Width; ++x) {
                q.setPixel(x, y, image->Pixels[static_cast<std::size_t>(y) * image->Width + x]);
            }
        }
        setCursor(QCursor(QPixmap::fromImage(q), image->HotX, image->HotY));
        return;
    }
    setCursor(CursorFor(MousePointer()));
}

void ButtonWidget::AccessKey(std::int16_t keyAscii) {
    if (isEnabled() && isVisible()) control_->Input().AccessKeyPress(keyAscii);
}

void ButtonWidget::SetDisplayAsDefault(bool on) {
    if (on == displayAsDefault_) return;
    displayAsDefault_ = on;
    control_->Input().AmbientChanged("DisplayAsDefault");
}

void ButtonWidget::SetAmbientBackColor(buttons::OleColor colour) {
    ambientBack_ = colour;
    control_->Input().AmbientChanged("BackColor");
}

void ButtonWidget::PropertyChanged(const std::string& key) {
    if (forms::KeyEquals(key, "Caption") && control_) setAccessibleName(SpokenCaption());
}

void ButtonWidget::RefreshNow() {
    // Present at once, as the platform's Refresh does. The control has drawn its frame already, so
    // the paint event's Paint finds it shown and only the picture is put on the screen.
    if (isVisible()) repaint();
}

void ButtonWidget::SetWidthPixels(int width) {
    const QSize wanted(std::max(0, width), height());
    if (wanted == size()) return;
    resize(wanted);
    // A hidden widget gets its resize event only when shown; the control expects it now.
    if (buffer_.Resize(wanted.width(), wanted.height()) && control_) control_->Resize();
}

void ButtonWidget::SetWindowRgn(gdi::HRGN rgn, bool redraw) {
    region_.reset(rgn);
    if (!rgn) {
        clearMask();
    } else {
        QRegion mask;
        for (const gdi::RECT& r : gdi::GetRegionRects(rgn)) mask += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        setMask(mask);
    }
    if (redraw) update();
}

void ButtonWidget::paintEvent(QPaintEvent*) {
    if (control_) control_->Paint();
    const gdi::BitmapView v = buffer_.View();
    if (v.bitsPerPixel != 32) return;
    // The buffer is 0x00RRGGBB; RGB32 ignores the top byte.
    const QImage image(reinterpret_cast<const uchar*>(v.pixels32), v.width, v.height,
                       static_cast<qsizetype>(v.stride) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void ButtonWidget::resizeEvent(QResizeEvent*) {
    if (buffer_.Resize(width(), height()) && control_) control_->Resize();
}

void ButtonWidget::mousePressEvent(QMouseEvent* e) {
    std::int16_t button = MouseButtonCode(e->button());
    std::int16_t shift = ShiftCode(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    // Taking the focus can click an option button, and its handler may delete this widget: the
    // control hears of the focus here, after Qt has finished moving it, and the press only if
    // the widget is still there.
    QPointer<ButtonWidget> self(this);
    if (focusPolicy() != Qt::NoFocus && e->button() == Qt::LeftButton && !hasFocus()) {
        focusByPress_ = true;
        setFocus(Qt::MouseFocusReason);
        focusByPress_ = false;
        if (!self) return;
        if (hasFocus()) control_->Input().GotFocus();
        if (!self) return;
    }
    control_->Input().MouseDown(button, shift, x, y);
}

void ButtonWidget::mouseMoveEvent(QMouseEvent* e) {
    std::int16_t button = 0;
    if (e->buttons() & Qt::LeftButton) button |= buttons::LeftButton;
    if (e->buttons() & Qt::RightButton) button |= buttons::RightButton;
    if (e->buttons() & Qt::MiddleButton) button |= buttons::MiddleButton;
    std::int16_t shift = ShiftCode(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    control_->Input().MouseMove(button, shift, x, y);
}

void ButtonWidget::mouseReleaseEvent(QMouseEvent* e) {
    std::int16_t button = MouseButtonCode(e->button());
    std::int16_t shift = ShiftCode(e->modifiers());
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    // Released over the button itself (its shape, not only its box): the control decides whether
    // that clicks.
    const QPoint p = e->position().toPoint();
    const bool inside = rect().contains(p) && (mask().isEmpty() || mask().contains(p));
    control_->Input().MouseUp(button, shift, x, y,
                              inside ? buttons::ReleasePlace::OverButton : buttons::ReleasePlace::Elsewhere);
}

void ButtonWidget::mouseDoubleClickEvent(QMouseEvent*) { control_->Input().DblClick(); }

void ButtonWidget::keyPressEvent(QKeyEvent* e) {
    std::int16_t key = VirtualKeyFromQtKey(e->key(), e->modifiers());
    // Alt with a letter is a menu key on the platform and types nothing; AltGr (Ctrl+Alt there) types.
    const bool menuKey = (e->modifiers() & Qt::AltModifier) && !(e->modifiers() & Qt::ControlModifier);
    // Qt gives Delete the text DEL; the platform types nothing for it.
    std::int16_t ascii = menuKey || e->key() == Qt::Key_Delete ? std::int16_t{0} : KeyAsciiOf(e->text());
    if ((key == 0 && ascii == 0) || key == 9) {  // Tab stays with Qt's focus chain
        QWidget::keyPressEvent(e);
        return;
    }
    std::int16_t shift = ShiftCode(e->modifiers());
    QPointer<ButtonWidget> self(this);
    if (key != 0) control_->Input().KeyDown(key, shift);
    if (self && ascii != 0) control_->Input().KeyPress(ascii);
}

void ButtonWidget::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;  // the platform repeats key-downs only
    std::int16_t key = VirtualKeyFromQtKey(e->key(), e->modifiers());
    if (key == 0 || key == 9) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    std::int16_t shift = ShiftCode(e->modifiers());
    control_->Input().KeyUp(key, shift);
}

void ButtonWidget::focusInEvent(QFocusEvent*) {
    if (focusByPress_) return;  // the press handler tells the control
    // Qt is still moving the focus and uses this widget afterwards; the focus's click, whose
    // handler may delete it, runs once that is done.
    QMetaObject::invokeMethod(this, [this] { control_->Input().GotFocus(); }, Qt::QueuedConnection);
}

void ButtonWidget::focusOutEvent(QFocusEvent*) { update(); }

void ButtonWidget::Click() {
    if (OnClick) {
        auto handler = OnClick;  // the handler may replace OnClick or close the window
        handler(name_);
    }
}

}  // namespace hosts::qt
