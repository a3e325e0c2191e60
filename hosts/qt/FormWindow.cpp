#include "hosts/qt/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>

#include "buttons/ButtonTypes.h"
#include "buttons/Colors.h"
#include "buttons/qkButtons_H.h"
#include "forms/FormatError.h"
#include "forms/model/WindowModel.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/KeyCodes.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/qt/TextBox.h"

namespace hosts::qt {

namespace {

QString Qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QColor ColourOf(gdi::COLORREF c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QRect RectOf(const forms::PixelRect& r) { return QRect(r.Left, r.Top, r.Width, r.Height); }

// The stored face by name: Qt's substitutions (installed from the one table) pick its stand-in.
QFont FontOf(const std::optional<forms::FontModel>& f, const QFont& inherited) {
    if (!f) return inherited;
    QFont font(Qs(f->Face));
    font.setPixelSize(f->PixelHeight);
    font.setWeight(static_cast<QFont::Weight>(f->Weight));
    font.setItalic(f->Italic);
    font.setUnderline(f->Underline);
    font.setStrikeOut(f->Strikethrough);
    return font;
}

void SetColours(QWidget* w, gdi::COLORREF back, gdi::COLORREF fore, bool fill) {
    QPalette pal = w->palette();
    const QColor b = ColourOf(back);
    const QColor f = ColourOf(fore);
    pal.setColor(QPalette::Window, b);
    pal.setColor(QPalette::Base, b);
    pal.setColor(QPalette::WindowText, f);
    pal.setColor(QPalette::Text, f);
    w->setPalette(pal);
    w->setAutoFillBackground(fill);
}

// A straight line between two points of its container, drawn over what lies beneath.
class LineWidget final : public QWidget {
public:
    LineWidget(QWidget* parent, const forms::ControlModel& m)
        : QWidget(parent), colour_(ColourOf(m.Fore)), width_(m.PenWidth), a_(m.From.X, m.From.Y), b_(m.To.X, m.To.Y) {
        setGeometry(RectOf(m.Box));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(colour_, width_, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(a_, b_);
    }

private:
    QColor colour_;
    int width_;
    QPoint a_;
    QPoint b_;
};

}  // namespace

FormWindow::FormWindow(const forms::Document& doc, QtWindowServices& windows)
    : FormWindow(forms::BuildWindowModel(doc), windows) {}

FormWindow::FormWindow(const forms::WindowModel& model, QtWindowServices& windows)
    : QWidget(nullptr), windows_(windows), name_(model.Name), units_(model.Units) {
    setObjectName(Qs(name_));
    setWindowTitle(Qs(model.Caption));
    if (model.Icon) setWindowIcon(QIcon(QString::fromStdString(model.Icon->string())));
    SetColours(this, model.Back, model.Fore, true);
    setFont(FontOf(model.Font, font()));
    resize(model.ClientWidth, model.ClientHeight);
    windows_.Register(this);
    for (const forms::ControlModel& child : model.Controls) Build(child, this);
    dialog_.SetTabOrder(model.TabOrder);
    // Qt's own focus chain (which it walks when the window is first activated) agrees.
    const std::vector<dialog::Index>& stops = dialog_.TabOrder();
    for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(controls_[stops[i - 1]], controls_[stops[i]]);
    // The default look follows the focus, as Enter does.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this] { ShowDefaultLook(); });
    ShowDefaultLook();
}

// Children leave after this body; none of their focus changes may reach a half-destroyed window.
FormWindow::~FormWindow() { disconnect(focusWatch_); }

void FormWindow::Build(const forms::ControlModel& m, QWidget* parent) {
    QWidget* w = nullptr;
    switch (m.Kind) {
    case forms::ControlKind::Button: {
        auto* b = new ButtonWidget(parent, windows_, m.Name, *m.Settings, m.AmbientBack, QSize(m.Box.Width, m.Box.Height));
        b->OnClick = [this](const std::string& n) {
            if (OnClick) OnClick(n);
        };
        buttons_.push_back(b);
        w = b;
        break;
    }
    case forms::ControlKind::Label: {
        auto* l = new QLabel(Qs(m.Caption), parent);
        const Qt::Alignment h = m.Alignment == forms::TextAlignment::Right    ? Qt::AlignRight
                                : m.Alignment == forms::TextAlignment::Center ? Qt::AlignHCenter
                                                                               : Qt::AlignLeft;
        l->setAlignment(Qt::AlignTop | h);
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
        w = l;
        break;
    }
    case forms::ControlKind::TextBox: {
        auto* t = new TextBox(parent, m.MultiLine, static_cast<int>(m.ScrollBars));
        t->SetText(m.Text);
        t->setReadOnly(m.Locked);
        w = t;
        break;
    }
    case forms::ControlKind::Frame:
    case forms::ControlKind::PictureBox: {
        // A frame is an etched rectangle with an optional caption; the desktop style's group box
        // would paint its own panel over the container's colour.
        if (m.Kind == forms::ControlKind::Frame && !m.Caption.empty()) {
            w = new QGroupBox(Qs(m.Caption), parent);
        } else if (m.Kind == forms::ControlKind::Frame) {
            auto* frame = new QFrame(parent);
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            w = frame;
        } else {
            w = new QWidget(parent);
        }
        break;
    }
    case forms::ControlKind::Image: {
        auto* l = new QLabel(parent);
        if (m.Picture) l->setPixmap(QPixmap(QString::fromStdString(m.Picture->string())));
        l->setScaledContents(m.Stretch);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
        break;
    }
    case forms::ControlKind::AnimatedPicture: {
        auto* l = new QLabel(parent);
        if (m.Picture) {
            auto* movie = new QMovie(QString::fromStdString(m.Picture->string()), QByteArray(), l);
            l->setMovie(movie);
            movie->start();
        }
        l->setScaledContents(m.Stretch);
        w = l;
        break;
    }
    case forms::ControlKind::Line: w = new LineWidget(parent, m); break;
    }
    w->setObjectName(Qs(m.Name));
    if (m.HasColours && m.Kind != forms::ControlKind::Line) SetColours(w, m.Back, m.Fore, m.Opaque);
    if (m.Kind != forms::ControlKind::Line) {
        w->setGeometry(RectOf(m.Box));
        w->setFont(FontOf(m.Font, parent->font()));
    }
    if (m.Kind == forms::ControlKind::Frame || m.Kind == forms::ControlKind::PictureBox) {
        windows_.Register(w);
        for (const forms::ControlModel& child : m.Children) Build(child, w);
    }
    w->setVisible(m.Visible);
    w->setEnabled(m.Enabled);
    if (m.TakesFocus) w->installEventFilter(this);
    const dialog::Index index = dialog_.Add(m);
    if (index >= controls_.size()) controls_.resize(index + 1);
    controls_[index] = w;
}

QWidget* FormWindow::Find(std::string_view name) const {
    const std::optional<dialog::Index> i = dialog_.Find(name);
    return i ? controls_[*i].data() : nullptr;
}

std::vector<ButtonWidget*> FormWindow::Buttons() const {
    std::vector<ButtonWidget*> out;
    for (const QPointer<ButtonWidget>& b : buttons_) {
        if (b) out.push_back(b.data());
    }
    return out;
}

ButtonWidget* FormWindow::ButtonAt(dialog::Index i) const {
    return i < controls_.size() ? qobject_cast<ButtonWidget*>(controls_[i].data()) : nullptr;
}

bool FormWindow::Usable(dialog::Index i) const {
    const QWidget* w = i < controls_.size() ? controls_[i].data() : nullptr;
    return w != nullptr && w->isEnabled() && w->isVisibleTo(const_cast<FormWindow*>(this));
}

bool FormWindow::Command(dialog::Index i) const {
    ButtonWidget* b = ButtonAt(i);
    return b != nullptr && b->Control().Mode() == buttons::ToInt(buttons::ButtonMode::ModeCommand);
}

std::string FormWindow::AccessKeys(dialog::Index i) const {
    const ButtonWidget* b = ButtonAt(i);
    return b != nullptr ? b->AccessKeys() : std::string();
}

std::optional<dialog::Index> FormWindow::FocusIndex() const {
    const QWidget* f = QApplication::focusWidget();
    if (f == nullptr || f->window() != this) return std::nullopt;
    const auto it = std::find(controls_.begin(), controls_.end(), f);
    if (it == controls_.end()) return std::nullopt;
    return static_cast<dialog::Index>(it - controls_.begin());
}

bool FormWindow::Carry(const dialog::Move& move) {
    switch (move.kind) {
    case dialog::Move::Kind::Keep: return false;
    case dialog::Move::Kind::Drop: return true;
    case dialog::Move::Kind::Focus:
        if (QWidget* w = controls_[move.target]) w->setFocus(Qt::TabFocusReason);
        return true;
    case dialog::Move::Kind::Press:
        // The button's handler may close the window: nothing of it is used afterwards.
        if (ButtonWidget* b = ButtonAt(move.target)) b->AccessKey(move.key);
        return true;
    }
    return false;
}

void FormWindow::ShowDefaultLook() {
    const std::optional<dialog::Index> target = dialog_.EnterTarget(FocusIndex(), *this);
    for (dialog::Index i = 0; i < controls_.size(); ++i) {
        if (ButtonWidget* b = ButtonAt(i)) b->SetDisplayAsDefault(target && *target == i);
    }
}

void FormWindow::SetBackColor(std::uint32_t oleColour) {
    QPalette pal = palette();
    const gdi::COLORREF c = buttons::ConvertSysColor(oleColour);
    pal.setColor(QPalette::Window, ColourOf(c));
    setPalette(pal);
    for (ButtonWidget* b : Buttons()) {
        if (b->parentWidget() == this) b->SetAmbientBackColor(oleColour);
    }
}

bool FormWindow::Visible(std::string_view name) const {
    const QWidget* w = Find(name);
    return w != nullptr && !w->isHidden();
}

void FormWindow::SetVisible(std::string_view name, bool visible) {
    if (QWidget* w = Find(name)) w->setVisible(visible);
}

std::string FormWindow::Text(std::string_view name) const {
    const auto* box = qobject_cast<const TextBox*>(Find(name));
    return box != nullptr ? box->Text() : std::string();
}

void FormWindow::SetText(std::string_view name, const std::string& text) {
    if (auto* box = qobject_cast<TextBox*>(Find(name))) box->SetText(text);
}

bool FormWindow::SetFocus(std::string_view name) {
    QWidget* w = Find(name);
    if (w == nullptr || !w->isEnabled() || w->isHidden() || w->focusPolicy() == Qt::NoFocus) return false;
    w->setFocus(Qt::OtherFocusReason);
    return true;
}

bool FormWindow::SetOuterWidth(int twips) {
    if (isMinimized()) return false;
    resize(forms::ClientWidthForOuter(units_, twips), height());
    return true;
}

bool FormWindow::SetOuterHeight(int twips) {
    if (isMinimized()) return false;
    resize(width(), forms::ClientHeightForOuter(units_, twips));
    return true;
}

void FormWindow::CloseQuietly() {
    quiet_ = true;
    close();
}

void FormWindow::closeEvent(QCloseEvent* e) {
    if (!quiet_ && OnCloseBox) OnCloseBox();
    e->accept();
    emit Closed();
}

namespace {

dialog::Keystroke KeystrokeOf(const QKeyEvent& e) {
    const Qt::KeyboardModifiers m = e.modifiers();
    const bool shift = (m & Qt::ShiftModifier) || e.key() == Qt::Key_Backtab;
    return dialog::KeystrokeOf(VirtualKeyFromQtKey(e.key(), m), shift, (m & Qt::ControlModifier) != 0,
                               (m & Qt::AltModifier) != 0);
}

}  // namespace

bool FormWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return QWidget::eventFilter(watched, e);
    auto* key = static_cast<QKeyEvent*>(e);
    if (e->type() == QEvent::KeyRelease) {
        if (key->key() != takenKey_ || key->isAutoRepeat()) return false;
        takenKey_ = 0;
        return true;
    }
    // A press the rules took repeats as theirs: held Enter clicks once.
    if (key->isAutoRepeat() && key->key() == takenKey_) return true;
    // The control the key is for, whether or not Qt counts it as focused (a window not yet active).
    const auto it = std::find(controls_.begin(), controls_.end(), watched);
    const std::optional<dialog::Index> to =
        it == controls_.end() ? FocusIndex() : std::optional<dialog::Index>(it - controls_.begin());
    const dialog::Move move = dialog_.OnKey(KeystrokeOf(*key), to, *this);
    if (move.kind == dialog::Move::Kind::Keep) return false;
    takenKey_ = move.kind == dialog::Move::Kind::Press ? key->key() : 0;
    Carry(move);
    return true;
}

bool FormWindow::focusNextPrevChild(bool next) {
    dialog::Keystroke tab;
    tab.key = dialog::Key::Tab;
    tab.shift = !next;
    return Carry(dialog_.OnKey(tab, FocusIndex(), *this));
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
    const dialog::Keystroke k = KeystrokeOf(*e);
    const dialog::Move move = k.key == dialog::Key::Left || k.key == dialog::Key::Right || k.key == dialog::Key::Up ||
                                      k.key == dialog::Key::Down
                                  ? dialog_.OnArrow(k.key, FocusIndex(), *this)
                                  : dialog_.OnKey(k, FocusIndex(), *this);
    if (!Carry(move)) QWidget::keyPressEvent(e);
}

}  // namespace hosts::qt
