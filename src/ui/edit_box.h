// An edit box: one line of text, read and written as GBK.
//
// Two styles:
//   PayBox  - single-line border, centred, no input method. The user can add
//             only the digits, "-" and "." and cannot make the text longer
//             than kPayBoxMaxLength characters, whether typing, pasting or
//             dropping; an edit that would do either is refused whole and
//             the box stays as it was. Removing characters is always
//             allowed, also from a longer or odder text that the program set.
//   FreeBox - sunken border, left-aligned, any length, any character that
//             has a GBK form (GbkValidator).
// setTextGbk stores the program's text whole in either style: an imported
// value of twelve characters stays twelve characters.
//
// gotFocus means that the user entered the box: a click with any mouse
// button (left, right or middle), Tab or Shift+Tab. Focus that comes back
// when a context menu closes or the window is activated again, or that the
// program gives, does not count.
#pragma once

#include <QLineEdit>
#include <string>
#include <string_view>

namespace qinghe::ui {

inline constexpr int kPayBoxMaxLength = 10;

enum class EditStyle { PayBox, FreeBox };

class PayBoxFilter;

class EditBox final : public QLineEdit {
    Q_OBJECT
  public:
    EditBox(EditStyle style, QWidget* parent);

    std::string textGbk() const;
    // Stores the text whole; does not raise gotFocus.
    void setTextGbk(std::string_view gbk);

    // Black unless told otherwise.
    void setTextColor(const QColor& colour);

  signals:
    // The user entered the box (see above).
    void gotFocus();
    // The left mouse button was released over the box, at (x, y) in the
    // box's pixels, with the shift, control and alt keys in `keys`.
    void leftButtonReleased(int x, int y, Qt::KeyboardModifiers keys);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    EditStyle style_;
    PayBoxFilter* payFilter_ = nullptr;  // PayBox only
    // Focus came by a mouse press; it counts once the press has been handled.
    bool focusByMouse_ = false;
};

}  // namespace qinghe::ui
