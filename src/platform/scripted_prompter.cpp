#include "platform/scripted_prompter.h"

namespace pagora {
namespace {

template <typename T> std::optional<T> takeFront(std::deque<std::optional<T>>& queue) {
    if (queue.empty())
        return std::nullopt;
    std::optional<T> front = std::move(queue.front());
    queue.pop_front();
    return front;
}

} // namespace

std::vector<std::string> ScriptedPrompter::messages() const {
    std::vector<std::string> texts;
    for (const Record& record : records_)
        if (record.call == Call::Message)
            texts.push_back(record.text);
    return texts;
}

Answer ScriptedPrompter::message(MessageKind kind, std::string_view text, Buttons buttons) {
    records_.push_back({Call::Message, kind, buttons, std::string(text), {}, {}, {}, 0});
    if (answers_.empty())
        return safeDefault(buttons);
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::inputText(std::string_view caption,
                                                       std::string_view prompt,
                                                       std::string_view initial) {
    records_.push_back({Call::InputText,
                        {},
                        {},
                        std::string(prompt),
                        std::string(caption),
                        std::string(initial),
                        {},
                        0});
    return takeFront(inputs_);
}

std::optional<std::filesystem::path> ScriptedPrompter::openFile(const FileChooser& chooser) {
    records_.push_back({Call::OpenFile, {}, {}, chooser.title, {}, {}, chooser, 0});
    return takeFront(paths_);
}

std::optional<std::filesystem::path> ScriptedPrompter::saveFile(const FileChooser& chooser) {
    records_.push_back({Call::SaveFile, {}, {}, chooser.title, {}, {}, chooser, 0});
    return takeFront(paths_);
}

std::optional<std::filesystem::path> ScriptedPrompter::chooseFolder(std::string_view title,
                                                                    const std::filesystem::path&) {
    records_.push_back({Call::ChooseFolder, {}, {}, std::string(title), {}, {}, {}, 0});
    return takeFront(paths_);
}

std::optional<std::uint32_t> ScriptedPrompter::chooseColor(std::uint32_t initial) {
    records_.push_back({Call::ChooseColor, {}, {}, {}, {}, {}, {}, initial});
    return takeFront(colors_);
}

} // namespace pagora
