// Prompts that answer from a script instead of asking a person: for tests,
// which queue the answers before they drive a handler and then look at what
// was asked.
//
// A box asked for with no queued answer of its kind is answered as a person
// closing it would answer (Cancel; not accepted) and is still recorded, so
// that a test sees an unexpected box rather than hanging on it.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/prompts.h"

namespace qinghe::ui {

class ScriptedPrompts final : public Prompts {
  public:
    struct MessageAsked {
        std::string text;
        MessageStyle style;
        std::string caption;
    };
    struct InputAsked {
        std::string prompt;
        std::string title;
        bool masked;
    };
    struct SaveAsked {
        std::string title;
        std::string suggested;
        std::string filters;
    };

    // The next message box returns `answer`; `meanwhile`, when given, runs
    // while that box is open (another process at work behind the person's back).
    void answerMessage(MessageResult answer, std::function<void()> meanwhile = {}) {
        messageAnswers_.push_back({answer, std::move(meanwhile)});
    }
    // The next input box accepts `typed`, or is cancelled when nullopt;
    // `meanwhile` as for a message box.
    void answerInput(std::optional<std::string> typed, std::function<void()> meanwhile = {}) {
        inputAnswers_.push_back({std::move(typed), std::move(meanwhile)});
    }

    // The next box that asks where to save chooses `path` (UTF-8), or is
    // cancelled when nullopt.
    void answerSaveFile(std::optional<std::string> path) {
        saveAnswers_.push_back(std::move(path));
    }

    MessageResult messageBox(std::string_view text, MessageStyle style,
                             std::string_view caption = kDefaultMessageCaption) override;
    bool inputBox(std::string& text, std::string_view prompt = {},
                  std::string_view title = kDefaultInputTitle, bool masked = false) override;
    bool saveFileBox(std::string& path, std::string_view title, std::string_view suggested,
                     std::string_view filters) override;

    const std::vector<MessageAsked>& messages() const { return messages_; }
    const std::vector<InputAsked>& inputs() const { return inputs_; }
    const std::vector<SaveAsked>& saves() const { return saves_; }
    // Answers queued but not used yet.
    std::size_t unusedAnswers() const {
        return messageAnswers_.size() + inputAnswers_.size() + saveAnswers_.size();
    }

  private:
    struct MessageAnswer {
        MessageResult answer;
        std::function<void()> meanwhile;
    };
    std::deque<MessageAnswer> messageAnswers_;
    struct InputAnswer {
        std::optional<std::string> typed;
        std::function<void()> meanwhile;
    };
    std::deque<InputAnswer> inputAnswers_;
    std::vector<MessageAsked> messages_;
    std::vector<InputAsked> inputs_;
    std::deque<std::optional<std::string>> saveAnswers_;
    std::vector<SaveAsked> saves_;
};

}  // namespace qinghe::ui
