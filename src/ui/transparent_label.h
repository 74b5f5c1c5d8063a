// A label without a background of its own: its caption is drawn over
// whatever lies beneath. Captions are GBK. A caption longer than the label's
// place widens the label to the right, so that no figure is cut off; the
// label never becomes narrower than its place. It takes no mouse input.
#pragma once

#include <QLabel>
#include <string>
#include <string_view>

namespace qinghe::ui {

class TransparentLabel final : public QLabel {
    Q_OBJECT
  public:
    // `colour`: of its caption.
    explicit TransparentLabel(QWidget* parent, const QColor& colour = Qt::black);

    std::string captionGbk() const;
    void setCaptionGbk(std::string_view gbk);
    // The same for a caption the program holds as UTF-8 source text.
    void setCaption(const QString& caption);

    void setTextColor(const QColor& colour);
};

}  // namespace qinghe::ui
