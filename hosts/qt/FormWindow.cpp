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
#include <cctype>

#include "buttons/ButtonTypes.h"
#include "buttons/Colors.h"
#include "buttons/qkButtons_H.h"
#include "forms/FormatError.h"
#include "forms/model/WindowModel.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/qt/TextBox.h"

namespace hosts::qt {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

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
    ApplyTabOrder(model.TabOrder);
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
        b->DialogKey = [this](std::int16_t key) { return DialogKey(key); };
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
    byName_[Lower(m.Name)] = w;
}

void FormWindow::ApplyTabOrder(const std::vector<std::string>& order) {
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(Find(order[i - 1]), Find(order[i]));
}

QWidget* FormWindow::Find(std::string_view name) const {
    const auto it = byName_.find(Lower(name));
    return it == byName_.end() ? nullptr : it->second;
}

std::vector<ButtonWidget*> FormWindow::Buttons() const {
    std::vector<ButtonWidget*> out;
    for (const QPointer<ButtonWidget>& b : buttons_) {
        if (b) out.push_back(b.data());
    }
    return out;
}

ButtonWidget* FormWindow::EnterTarget() const {
    auto* focused = qobject_cast<ButtonWidget*>(QApplication::focusWidget());
    if (focused != nullptr && focused->window() == this &&
        focused->Control().Mode() == buttons::ToInt(buttons::ButtonMode::ModeCommand))
        return focused;
    for (ButtonWidget* b : Buttons()) {
        if (b->IsDefault()) return b;
    }
    return nullptr;
}

bool FormWindow::DialogKey(std::int16_t key) {
    ButtonWidget* target = nullptr;
    if (key == 13) {
        target = EnterTarget();
    } else if (key == 27) {
        const std::vector<ButtonWidget*> all = Buttons();
        const auto cancel = std::find_if(all.begin(), all.end(), [](ButtonWidget* b) { return b->IsCancel(); });
        if (cancel != all.end()) target = *cancel;
    }
    if (target == nullptr) return false;
    target->AccessKey(key);
    return true;
}

void FormWindow::ShowDefaultLook() {
    ButtonWidget* target = EnterTarget();
    for (ButtonWidget* b : Buttons()) b->SetDisplayAsDefault(b == target);
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

void FormWindow::SetOuterWidth(int twips) {
    resize(forms::ClientWidthForOuter(units_, twips), height());
}

void FormWindow::SetOuterHeight(int twips) {
    resize(width(), forms::ClientHeightForOuter(units_, twips));
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

void FormWindow::keyPressEvent(QKeyEvent* e) {
    // Arrow keys a button passes on to its container move the focus, as dialog navigation does.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!DialogKey(13)) QWidget::keyPressEvent(e);
        return;
    case Qt::Key_Escape:
        if (!DialogKey(27)) QWidget::keyPressEvent(e);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down: focusNextPrevChild(true); return;
    case Qt::Key_Left:
    case Qt::Key_Up: focusNextPrevChild(false); return;
    default: QWidget::keyPressEvent(e);
    }
}

}  // namespace hosts::qt
