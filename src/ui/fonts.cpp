#include "ui/fonts.h"

#include <QStringList>

namespace qinghe::ui {
namespace {

QFont songFamilies() {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    return font;
}

}  // namespace

QFont songFont(int pixelSize) {
    return withPixelSize(songFamilies(), pixelSize);
}

QFont songFontPoints(int pointSize) {
    QFont font = songFamilies();
    font.setPointSize(pointSize);
    return font;
}

QFont withPixelSize(QFont base, int pixelSize) {
    base.setPixelSize(pixelSize);
    return base;
}

}  // namespace qinghe::ui
