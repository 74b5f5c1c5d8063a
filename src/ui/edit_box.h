// An edit box: one line of text, read and written as GBK.
//
// Two styles:
//   payBox  - single-line border, centred, at most kPayBoxMaxLength
//             characters; of the printable characters only the digits, "-"
//             and "." can be typed (others are refused as typed, control keys
//             such as backspace and Ctrl+V pass); no input method.
//   freeBox - sunken border, left-aligned, any length, any character.
// Both refuse characters that have no GBK form (GbkValidator). Setting the
// text from the program is never filtered, so imported texts show as stored.
#pragma once

#include <QLineEdit>
#include <string>
#include <string_view>

namespace qinghe::ui {

inline constexpr int kPayBoxMaxLength = 10;

enum class EditStyle { payBox, freeBox };

class EditBox final : public QLineEdit {
    Q_OBJECT
  public:
    EditBox(EditStyle style, QWidget* parent);

    std::string textGbk() const;
    // Does not raise gotFocus.
    void setTextGbk(std::string_view gbk);

    // Black unless told otherwise.
    void setTextColor(const QColor& colour);

    // Whether the pay-box filter lets a typed character through.
    static bool payBoxAccepts(QChar c);

  signals:
    // The box received the input focus, by click or by the tab key.
    void gotFocus();
    // The left mouse button was released over the box, at (x, y) in the
    // box's pixels, with the shift, control and alt keys in `keys`.
    void leftButtonReleased(int x, int y, Qt::KeyboardModifiers keys);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    EditStyle style_;
};

}  // namespace qinghe::ui
