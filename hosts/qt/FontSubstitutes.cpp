#include "hosts/qt/FontSubstitutes.h"

#include <QFont>

#include "forms/FontSubstitutes.h"

namespace hosts::qt {

void InstallFontSubstitutes() {
    for (const forms::FontSubstitute& s : forms::FontSubstitutes()) {
        QFont::insertSubstitution(QString::fromUtf8(s.Family.data(), static_cast<qsizetype>(s.Family.size())),
                                  QString::fromUtf8(s.Substitute.data(), static_cast<qsizetype>(s.Substitute.size())));
    }
}

}  // namespace hosts::qt
