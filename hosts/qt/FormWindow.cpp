#include "hosts/qt/FormWindow.h"

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

#include "forms/FormatError.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/qt/TextBox.h"
#include "hosts/qt/Units.h"

namespace hosts::qt {

namespace {

constexpr std::uint32_t SysWindowText = 0x80000008;
constexpr std::uint32_t SysButtonFaceColour = 0x8000000F;
constexpr std::uint32_t SysWindowBackground = 0x80000005;

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

QString Qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QRect GeometryOf(const forms::Control& c) {
    const forms::Geometry g = c.Geom();
    return QRect(TwipsToPixels(g.Left), TwipsToPixels(g.Top), TwipsToPixels(g.Width), TwipsToPixels(g.Height));
}

QFont FontOf(const forms::PropertyBag& bag, const QFont& inherited) {
    const std::optional<forms::FontValue> f = bag.ReadFont("Font");
    if (!f) return inherited;
    QFont font(Qs(f->Name));
    font.setPixelSize(std::max(1, PointsToPixels(f->SizeTenThousandths)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(f->Weight, 1, 1000)));
    font.setItalic(f->Italic);
    font.setUnderline(f->Underline);
    font.setStrikeOut(f->Strikethrough);
    return font;
}

void SetColours(QWidget* w, const forms::PropertyBag& bag, std::uint32_t back, std::uint32_t fore, bool fill) {
    QPalette pal = w->palette();
    const QColor b = ColourFromOle(bag.ReadColour("BackColor", back));
    const QColor f = ColourFromOle(bag.ReadColour("ForeColor", fore));
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
    LineWidget(QWidget* parent, QPoint a, QPoint b, QColor colour, int width)
        : QWidget(parent), colour_(colour), width_(std::max(1, width)) {
        const QRect box = QRect(a, b).normalized().adjusted(0, 0, width_, width_);
        setGeometry(box);
        a_ = a - box.topLeft();
        b_ = b - box.topLeft();
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
    : QWidget(nullptr), windows_(windows), name_(doc.Root.Name) {
    const forms::Control& root = doc.Root;
    const forms::PropertyBag& bag = root.Properties;
    setObjectName(Qs(name_));
    setWindowTitle(Qs(bag.ReadString("Caption", name_)));
    if (const auto icon = bag.ReadPicture("Icon")) setWindowIcon(QIcon(QString::fromStdString(icon->string())));
    const std::uint32_t back = bag.ReadColour("BackColor", SysButtonFaceColour);
    SetColours(this, bag, SysButtonFaceColour, SysWindowText, true);
    setFont(FontOf(bag, font()));
    resize(TwipsToPixels(bag.ReadInt32("ClientWidth", 4800)), TwipsToPixels(bag.ReadInt32("ClientHeight", 3600)));
    windows_.Register(this);
    for (const forms::Control& child : root.Children) build(child, this, back);
    applyTabOrder();
}

FormWindow::~FormWindow() = default;

void FormWindow::build(const forms::Control& c, QWidget* parent, std::uint32_t ambientBack) {
    const forms::PropertyBag& bag = c.Properties;
    const QRect geom = GeometryOf(c);
    QWidget* w = nullptr;
    bool focusable = false;
    if (c.Kind == forms::ButtonKind) {
        auto* b = new ButtonWidget(parent, windows_, c.Name, bag, ambientBack, geom.size());
        b->OnClick = [this](const std::string& n) {
            if (OnClick) OnClick(n);
        };
        buttons_.push_back(b);
        w = b;
        focusable = true;
    } else if (c.Kind == "Label") {
        auto* l = new QLabel(Qs(bag.ReadString("Caption", "")), parent);
        const std::int32_t align = bag.ReadInt32("Alignment", 0);
        l->setAlignment(Qt::AlignTop | (align == 1 ? Qt::AlignRight : align == 2 ? Qt::AlignHCenter : Qt::AlignLeft));
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
        // BackStyle 0 is transparent, 1 (the default) opaque.
        SetColours(l, bag, SysButtonFaceColour, SysWindowText, bag.ReadInt32("BackStyle", 1) != 0);
        w = l;
    } else if (c.Kind == "TextBox") {
        auto* t = new TextBox(parent, bag.ReadBool("MultiLine", false), bag.ReadInt32("ScrollBars", 0));
        t->SetText(bag.ReadString("Text", ""));
        t->setReadOnly(bag.ReadBool("Locked", false));
        SetColours(t, bag, SysWindowBackground, SysWindowText, true);
        w = t;
        focusable = true;
    } else if (c.Kind == "Frame" || c.Kind == "PictureBox") {
        // A frame is an etched rectangle with an optional caption; the desktop style's group box
        // would paint its own panel over the container's colour.
        QWidget* box = nullptr;
        const std::string caption = bag.ReadString("Caption", "");
        if (c.Kind == "Frame" && !caption.empty()) {
            box = new QGroupBox(Qs(caption), parent);
        } else if (c.Kind == "Frame") {
            auto* frame = new QFrame(parent);
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            box = frame;
        } else {
            box = new QWidget(parent);
        }
        SetColours(box, bag, ambientBack, SysWindowText, true);
        box->setFont(FontOf(bag, parent->font()));
        box->setGeometry(geom);
        const std::uint32_t inner = bag.ReadColour("BackColor", ambientBack);
        windows_.Register(box);
        for (const forms::Control& child : c.Children) build(child, box, inner);
        w = box;
    } else if (c.Kind == "Image") {
        auto* l = new QLabel(parent);
        if (const auto pic = bag.ReadPicture("Picture")) l->setPixmap(QPixmap(QString::fromStdString(pic->string())));
        l->setScaledContents(bag.ReadBool("Stretch", false));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
    } else if (c.Kind == "AnimatedPicture") {
        auto* l = new QLabel(parent);
        if (const auto pic = bag.ReadPicture("Picture")) {
            auto* movie = new QMovie(QString::fromStdString(pic->string()), QByteArray(), l);
            l->setMovie(movie);
            movie->start();
        }
        l->setScaledContents(true);
        w = l;
    } else if (c.Kind == "Line") {
        const QPoint a(TwipsToPixels(bag.ReadInt32("X1", 0)), TwipsToPixels(bag.ReadInt32("Y1", 0)));
        const QPoint b(TwipsToPixels(bag.ReadInt32("X2", 0)), TwipsToPixels(bag.ReadInt32("Y2", 0)));
        w = new LineWidget(parent, a, b, ColourFromOle(bag.ReadColour("BorderColor", SysWindowText)),
                           bag.ReadInt32("BorderWidth", 1));
    } else {
        return;  // kinds this program's windows do not use (timers, shapes) have nothing to show
    }
    w->setObjectName(Qs(c.Name));
    if (c.Kind != "Frame" && c.Kind != "PictureBox" && c.Kind != "Line") {
        w->setGeometry(geom);
        w->setFont(FontOf(bag, parent->font()));
    }
    if (c.Kind == forms::ButtonKind) w->setFont(parent->font());  // the button draws its own caption font
    w->setVisible(c.Visible());
    w->setEnabled(bag.ReadBool("Enabled", true));
    byName_[Lower(c.Name)] = w;
    if (focusable) tabStops_.emplace_back(c.TabIndex(), w);
}

void FormWindow::applyTabOrder() {
    std::stable_sort(tabStops_.begin(), tabStops_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops_.size(); ++i) QWidget::setTabOrder(tabStops_[i - 1].second, tabStops_[i].second);
}

QWidget* FormWindow::Find(std::string_view name) const {
    const auto it = byName_.find(Lower(name));
    return it == byName_.end() ? nullptr : it->second;
}

std::vector<ButtonWidget*> FormWindow::Buttons() const { return buttons_; }

void FormWindow::SetOuterWidth(int twips) {
    resize(std::max(1, TwipsToPixels(twips - FrameWidthTwips)), height());
}

void FormWindow::SetOuterHeight(int twips) {
    resize(width(), std::max(1, TwipsToPixels(twips - FrameHeightTwips)));
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
    case Qt::Key_Right:
    case Qt::Key_Down: focusNextPrevChild(true); return;
    case Qt::Key_Left:
    case Qt::Key_Up: focusNextPrevChild(false); return;
    default: QWidget::keyPressEvent(e);
    }
}

}  // namespace hosts::qt
