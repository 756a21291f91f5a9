#include "toolkit/fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace vestral::toolkit {

void install_font_substitutions() {
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Ms Sans Serif", {"Liberation Sans", "DejaVu Sans"});
}

QFont map_font(const QString& face, double points, bool bold) {
    QFont f;
    if (face.compare("SYSTEM", Qt::CaseInsensitive) == 0) {
        f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    } else if (face.compare("Ms Sans Serif", Qt::CaseInsensitive) == 0) {
        f = QApplication::font();
    } else {
        f = QFont(face);
    }
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont ofont(bool bold) {
    return map_font("Ms Sans Serif", 8, bold);
}

}  // namespace vestral::toolkit
