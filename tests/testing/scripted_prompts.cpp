#include "testing/scripted_prompts.h"

namespace qinghe::ui {

MessageResult ScriptedPrompts::messageBox(std::string_view text, MessageStyle style,
                                          std::string_view caption) {
    messages_.push_back({std::string(text), style, std::string(caption)});
    if (messageAnswers_.empty()) return MessageResult::Cancel;
    MessageAnswer answer = std::move(messageAnswers_.front());
    messageAnswers_.pop_front();
    if (answer.meanwhile) answer.meanwhile();
    return answer.answer;
}

bool ScriptedPrompts::inputBox(std::string& text, std::string_view prompt, std::string_view title,
                               bool masked) {
    inputs_.push_back({std::string(prompt), std::string(title), masked});
    if (inputAnswers_.empty()) return false;
    InputAnswer answer = std::move(inputAnswers_.front());
    inputAnswers_.pop_front();
    if (answer.meanwhile) answer.meanwhile();
    if (!answer.typed) return false;
    text = std::move(*answer.typed);
    return true;
}

bool ScriptedPrompts::saveFileBox(std::string& path, std::string_view title,
                                  std::string_view suggested, std::string_view filters) {
    saves_.push_back({std::string(title), std::string(suggested), std::string(filters)});
    if (saveAnswers_.empty()) return false;
    std::optional<std::string> answer = std::move(saveAnswers_.front());
    saveAnswers_.pop_front();
    if (!answer) return false;
    path = std::move(*answer);
    return true;
}

}  // namespace qinghe::ui
