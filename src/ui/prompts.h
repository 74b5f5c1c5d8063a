// The modal boxes through which handlers talk to the user: the message
// box, the input box and the box that asks where to save a file. Handlers reach them only through
// this interface, so that tests answer them with ScriptedPrompts and the window uses QtPrompts.
//
// All texts are GBK. Both boxes are modal to the whole program and have no
// owner window; timers and repaints go on while one is open.
#pragma once

#include <string>
#include <string_view>

namespace qinghe::ui {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel };

struct MessageStyle {
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Which button closed a message box. On a box with OK and Cancel, Escape and
// the title bar's close button count as Cancel; a box with OK alone answers
// OK however it is closed.
enum class MessageResult { Ok = 0, Cancel = 1 };

// Captions used when the caller gives none: "信息：" and "请输入：" (GBK).
inline constexpr std::string_view kDefaultMessageCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";
inline constexpr std::string_view kDefaultInputTitle = "\xC7\xEB\xCA\xE4\xC8\xEB\xA3\xBA";

class Prompts {
  public:
    virtual ~Prompts() = default;

    // Shows `text` with the style's icon and buttons ("确定", and "取消" for
    // OkCancel) under `caption` and waits for the user's answer.
    virtual MessageResult messageBox(std::string_view text, MessageStyle style,
                                     std::string_view caption = kDefaultMessageCaption) = 0;

    // Asks for one line of text, with `prompt` above the entry field (none
    // when empty: the smaller box), under `title`, with a placeholder shown
    // for every character when `masked`. The field starts empty.
    // "确认输入(&O)" (also Enter) stores the typed text in `text` (possibly
    // empty) and returns true; "取消(&C)", Escape or the close button return
    // false and leave `text` as it was.
    virtual bool inputBox(std::string& text, std::string_view prompt = {},
                          std::string_view title = kDefaultInputTitle, bool masked = false) = 0;

    // Asks where to save a file, under `title`, offering `suggested` (a
    // file name, UTF-8) and the kinds of `filters` (GBK, as "PNG 图片 (*.png)",
    // separated by ";;"). Saving stores the chosen path (UTF-8) in `path` and
    // returns true; cancelling returns false and leaves `path` as it was. The
    // box only asks: it writes nothing and asks nothing about an existing file.
    virtual bool saveFileBox(std::string& path, std::string_view title, std::string_view suggested,
                             std::string_view filters) = 0;
};

}  // namespace qinghe::ui
