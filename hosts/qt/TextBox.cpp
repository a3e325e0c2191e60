#include "hosts/qt/TextBox.h"

#include <QKeyEvent>

namespace hosts::qt {

TextBox::TextBox(QWidget* parent, bool multiLine, int scrollBars) : QPlainTextEdit(parent), multiLine_(multiLine) {
    const bool vertical = scrollBars == 2 || scrollBars == 3;
    const bool horizontal = scrollBars == 1 || scrollBars == 3;
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // A multi-line box without a horizontal scroll bar wraps at word boundaries.
    setLineWrapMode(multiLine && !horizontal ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
}

std::string TextBox::Text() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

void TextBox::SetText(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(text);
}

void TextBox::keyPressEvent(QKeyEvent* e) {
    if (!multiLine_ && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        e->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

}  // namespace hosts::qt
