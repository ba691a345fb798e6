#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pagora {

enum class MessageKind { Error, Warning, Information, Confirmation };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, AbortIgnore };

enum class Answer { Ok, Cancel, Yes, No, Abort, Ignore };

// What a file chooser shows. Texts are UTF-8 (they come from the program, not
// from a comic file); filters use the "Description (*.ext *.ext2)" form,
// several of them separated by ";;".
struct FileChooser {
    std::string title;
    std::string filter;
    int selectedFilter = 0; // which of the filters is chosen first, from 0
    std::string defaultSuffix;
    std::filesystem::path startIn;
    bool confirmOverwrite = false;
};

// Every message box, input box and chooser of the program goes through this
// interface, so the core never depends on a user interface and tests can
// script the answers. Message and input texts are CP932, as the core keeps
// them.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Answer message(MessageKind kind, std::string_view text, Buttons buttons) = 0;
    virtual std::optional<std::string> inputText(std::string_view caption, std::string_view prompt,
                                                 std::string_view initial) = 0;
    virtual std::optional<std::filesystem::path> openFile(const FileChooser& chooser) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileChooser& chooser) = 0;
    virtual std::optional<std::filesystem::path>
    chooseFolder(std::string_view title, const std::filesystem::path& start) = 0;
    // Colours are 0x00BBGGRR values.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;

    void error(std::string_view text) { message(MessageKind::Error, text, Buttons::Ok); }
    void warning(std::string_view text) { message(MessageKind::Warning, text, Buttons::Ok); }
    void information(std::string_view text) {
        message(MessageKind::Information, text, Buttons::Ok);
    }
};

// The answer that loses nothing when nobody can be asked: Cancel, No or
// Ignore where offered, otherwise OK.
Answer safeDefault(Buttons buttons);

} // namespace pagora
