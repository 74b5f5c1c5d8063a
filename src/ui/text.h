// Text at the edge between the program (GBK bytes) and the widgets (QString).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qinghe::ui {

// GBK to QString. Total: bytes that are not GBK show as U+FFFD.
QString toQString(std::string_view gbk);

// QString to GBK. Every control the user can type into refuses characters
// without a GBK form as they are entered (GbkValidator), so a control's text
// always converts. Should that ever be broken, each character without a GBK
// form comes out as "?" rather than being dropped.
std::string toGbk(const QString& text);

}  // namespace qinghe::ui
