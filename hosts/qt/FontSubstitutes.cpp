#include "hosts/qt/FontSubstitutes.h"

#include <QFont>

namespace hosts::qt {

void InstallFontSubstitutes() {
    // Liberation's families are metric-compatible with these; fontconfig's own fallback for
    // "MS Sans Serif" would be the much wider DejaVu Sans.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

}  // namespace hosts::qt
