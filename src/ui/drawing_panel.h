// A drawing panel: a background picture on which text is written at a write
// position, as on a typewriter.
//
// Writing draws the text at the write position (its top-left corner) in the
// panel's text colour and font with a transparent background, over whatever
// was drawn there before, and moves the position right by the text's width.
// A carriage return followed by a line feed inside the text moves the
// position down by the line height plus kLineGap pixels and back to the x at
// which that write began. Written text stays on the panel, also while the
// panel is hidden.
//
// The panel keeps what it shows at the device pixel ratio of its screen when
// it is first drawn or written on (2 on a screen at scale 2), so that the
// picture and the text are as sharp as the screen; positions and sizes are
// in the window's pixels all the same.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <string_view>

namespace qinghe::ui {

class DrawingPanel final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLineGap = 2;

    // `background` is called once, when the panel is first drawn or written
    // on, and gives the picture for the device pixel ratio it is given.
    DrawingPanel(std::function<QPixmap(qreal devicePixelRatio)> background, QWidget* parent);

    void setWritePosition(int x, int y) { position_ = QPoint(x, y); }
    QPoint writePosition() const { return position_; }
    void writeText(std::string_view gbk);

    void setTextColor(const QColor& colour) { textColour_ = colour; }

    // What the panel shows now, in device pixels.
    const QImage& canvas();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void ensureCanvas();

    std::function<QPixmap(qreal)> background_;
    QPixmap picture_;
    QImage canvas_;
    QPoint position_;
    QColor textColour_ = Qt::black;
};

}  // namespace qinghe::ui
