#include "ui/control_style.h"

#include <QCoreApplication>
#include <QProxyStyle>

namespace qinghe::ui {
namespace {

class ControlStyle final : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_RadioButtonLabelSpacing || metric == PM_CheckBoxLabelSpacing) {
            return kIndicatorSpacing;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Table_GridLineColor) return static_cast<int>(kGridLineColour);
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

QStyle* controlStyle() {
    static QStyle* style = [] {
        auto* s = new ControlStyle;
        s->setParent(QCoreApplication::instance());
        return s;
    }();
    return style;
}

}  // namespace qinghe::ui
