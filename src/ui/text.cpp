#include "ui/text.h"

#include "common/gbk.h"

namespace qinghe::ui {

QString toQString(std::string_view gbk) {
    return QString::fromStdString(gbk::toUtf8(gbk));
}

std::string toGbk(const QString& text) {
    std::string utf8 = text.toStdString();
    std::string out;
    std::string_view rest = utf8;
    while (true) {
        gbk::Conversion c = gbk::fromUtf8(rest);
        if (c.ok) return out + c.text;
        // Never expected (see the header): keep what converts, mark the rest.
        out += gbk::fromUtf8(rest.substr(0, c.badOffset)).text;
        out += '?';
        rest.remove_prefix(c.badOffset + c.bad.size());
    }
}

}  // namespace qinghe::ui
