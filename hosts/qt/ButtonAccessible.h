// What screen readers learn of a qkButtons_H on the Qt host: a push button named by its caption,
// with a press action. Owns nothing; the interface follows the widget's lifetime.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace hosts::qt {

// For QAccessible::installFactory: an interface for ButtonWidget, null for anything else.
QAccessibleInterface* ButtonAccessibleFactory(const QString& className, QObject* object);

}  // namespace hosts::qt
