#include "drawing/fonts.h"

namespace qinghe::drawing {

QStringList layoutFamilies() {
    return {QStringLiteral("SimSun"),
            QStringLiteral("宋体"),
            QStringLiteral("NSimSun"),
            QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Source Han Sans SC"),
            QStringLiteral("Source Han Sans CN")};
}

QFont withLayoutFace(QFont base) {
    base.setFamilies(layoutFamilies());
    // What the desktop adds after the list, for a character none of them has.
    base.setStyleHint(QFont::SansSerif);
    return base;
}

QFont layoutFont(int pixelSize) {
    return withPixelSize(withLayoutFace(QFont()), pixelSize);
}

QFont layoutFontPoints(int pointSize) {
    QFont font = withLayoutFace(QFont());
    font.setPointSize(pointSize);
    return font;
}

QFont withPixelSize(QFont base, int pixelSize) {
    base.setPixelSize(pixelSize);
    return base;
}

}  // namespace qinghe::drawing
