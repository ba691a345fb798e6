#pragma once

#include "platform/prompter.h"

#include <deque>
#include <vector>

namespace pagora {

// A Prompter for tests and batch runs: records every call and answers from
// queues filled in advance. An empty queue gives the safe default for a
// message box and "cancelled" for everything else.
class ScriptedPrompter : public Prompter {
public:
    enum class Call { Message, InputText, OpenFile, SaveFile, ChooseFolder, ChooseColor };

    struct Record {
        Call call;
        MessageKind kind = MessageKind::Information; // messages only
        Buttons buttons = Buttons::Ok;               // messages only
        std::string text;                            // message text, input prompt or chooser title
        std::string caption;                         // input boxes only
        std::string initial;                         // input boxes only
        FileChooser chooser;                         // file choosers only
        std::uint32_t color = 0;                     // colour choosers: the colour it started at
    };

    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    void queueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    void queuePath(std::optional<std::filesystem::path> path) { paths_.push_back(std::move(path)); }
    void queueColor(std::optional<std::uint32_t> color) { colors_.push_back(color); }

    const std::vector<Record>& records() const { return records_; }
    // The texts of the message boxes shown so far, in order.
    std::vector<std::string> messages() const;
    void clear() { records_.clear(); }

    Answer message(MessageKind kind, std::string_view text, Buttons buttons) override;
    std::optional<std::string> inputText(std::string_view caption, std::string_view prompt,
                                         std::string_view initial) override;
    std::optional<std::filesystem::path> openFile(const FileChooser& chooser) override;
    std::optional<std::filesystem::path> saveFile(const FileChooser& chooser) override;
    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& start) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;

private:
    std::vector<Record> records_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::filesystem::path>> paths_;
    std::deque<std::optional<std::uint32_t>> colors_;
};

} // namespace pagora
