// The platform's text box on Qt: one line, or several with optional scroll bars. Owns nothing but
// its Qt widget state. Line breaks are CR LF on the way in and out, as the window logic expects.
#pragma once

#include <QPlainTextEdit>

#include <string>

namespace hosts::qt {

class TextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    // scrollBars: 0 none, 1 horizontal, 2 vertical, 3 both.
    TextBox(QWidget* parent, bool multiLine, int scrollBars);
    std::string Text() const;
    void SetText(const std::string& utf8);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool multiLine_;
};

}  // namespace hosts::qt
