#include "platform/prompter.h"

namespace pagora {

Answer safeDefault(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::AbortIgnore:
        return Answer::Ignore;
    }
    return Answer::Ok;
}

Answer QuietPrompter::message(MessageKind, std::string_view, Buttons buttons) {
    return safeDefault(buttons);
}

std::optional<std::string> QuietPrompter::inputText(std::string_view, std::string_view,
                                                    std::string_view) {
    return std::nullopt;
}

std::optional<std::filesystem::path> QuietPrompter::openFile(const FileChooser&) {
    return std::nullopt;
}

std::optional<std::filesystem::path> QuietPrompter::saveFile(const FileChooser&) {
    return std::nullopt;
}

std::optional<std::filesystem::path> QuietPrompter::chooseFolder(std::string_view,
                                                                 const std::filesystem::path&) {
    return std::nullopt;
}

std::optional<std::uint32_t> QuietPrompter::chooseColor(std::uint32_t) {
    return std::nullopt;
}

} // namespace pagora
