// The controls with which a day's kind and hours are chosen.
#pragma once

#include <QComboBox>
#include <QRadioButton>
#include <string>
#include <string_view>

namespace qinghe::ui {

// A radio button whose checked state the program owns: buttons are not
// grouped (the handlers that preset a kind of day check and clear each one
// themselves), and a click by the user always checks the clicked button,
// before its clicked signal, even when it was checked already.
class RadioButton final : public QRadioButton {
    Q_OBJECT
  public:
    RadioButton(const QString& caption, QWidget* parent);

  protected:
    void nextCheckState() override;
};

// A drop-down list whose text can also be typed. Writing the text shows that
// text whether or not it is one of the items; reading gives what the box
// shows. The box takes what is typed: the items are offered in the list and
// never completed into the text ("1" stays "1", not "10"), and typed texts
// are not added to the items. Its whole text is also its tooltip, for a
// text longer than the box. The mouse wheel chooses another item only while
// the box has the focus; over an unfocused box the wheel goes on to what is
// under it. Texts are GBK.
class ComboBox final : public QComboBox {
    Q_OBJECT
  public:
    ComboBox(const QStringList& items, QWidget* parent);

    std::string textGbk() const;
    void setTextGbk(std::string_view gbk);
    // Shows item `index` (from 0).
    void selectIndex(int index);

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace qinghe::ui
