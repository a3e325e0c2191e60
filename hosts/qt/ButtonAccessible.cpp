#include "hosts/qt/ButtonAccessible.h"

#include <QAccessibleWidget>

#include "buttons/qkButtons_H.h"
#include "hosts/qt/ButtonWidget.h"

namespace hosts::qt {

namespace {

class ButtonAccessible final : public QAccessibleWidget {
public:
    explicit ButtonAccessible(ButtonWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<ButtonWidget*>(widget())->SpokenCaption();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        // Pressing through assistive technology clicks the button as its access key would.
        if (action == pressAction() && widget()->isEnabled()) {
            static_cast<ButtonWidget*>(widget())->Control().Input().AccessKeyPress(' ');
        }
    }
};

}  // namespace

QAccessibleInterface* ButtonAccessibleFactory(const QString&, QObject* object) {
    if (auto* b = qobject_cast<ButtonWidget*>(object)) return new ButtonAccessible(b);
    return nullptr;
}

}  // namespace hosts::qt
