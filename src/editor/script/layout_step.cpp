#include "editor/script/layout_step.h"

#include "document/cmd_ctrl.h"
#include "editor/script/printing_prompter.h"
#include "editor/script/step_errors.h"
#include "gui/layout_editor.h"
#include "platform/encoding.h"
#include "platform/numbers.h"

#include <functional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace pagora {
namespace {

using Editor = TWindowLayoutEditor;
using Member =
    std::variant<int Editor::*, bool Editor::*, std::uint32_t Editor::*, std::string Editor::*>;

struct Field {
    std::string_view name;
    Member member;
    bool printed; // whether the editor hands it back changed
};

const Field kFields[] = {
    {"Mode", &Editor::Mode, true},
    {"WindowNo", &Editor::WindowNo, false},
    {"FileName", &Editor::FileName, false},
    {"SampleText", &Editor::SampleText, false},
    {"PosLeft", &Editor::PosLeft, true},
    {"PosTop", &Editor::PosTop, true},
    {"PosRight", &Editor::PosRight, true},
    {"PosBottom", &Editor::PosBottom, true},
    {"ViewLeft", &Editor::ViewLeft, true},
    {"ViewTop", &Editor::ViewTop, true},
    {"UseTransparent", &Editor::UseTransparent, true},
    {"AutoTransparentColor", &Editor::AutoTransparentColor, true},
    {"TransparentColor", &Editor::TransparentColor, true},
    {"FitToPos", &Editor::FitToPos, true},
    {"HalfTransparent", &Editor::HalfTransparent, true},
    {"FontSize", &Editor::FontSize, true},
    {"FontColor", &Editor::FontColor, true},
    {"ImageDivision", &Editor::ImageDivision, false},
    {"AreaMode", &Editor::AreaMode, false},
    {"Step", &Editor::Step, true},
};

const Field& fieldNamed(std::string_view name) {
    for (const Field& field : kFields)
        if (field.name == name)
            return field;
    throw StepError("no layout editor field \"" + std::string(name) + "\"");
}

// A setting of one field, checked before any field is set.
using Assignment = std::function<void(Editor&)>;

Assignment assignmentOf(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos)
        throw StepError("not KEY=VALUE: \"" + argument + "\"");
    const Field& field = fieldNamed(std::string_view(argument).substr(0, equals));
    const std::string value = argument.substr(equals + 1);
    const auto refuse = [&]() -> StepError {
        return StepError("not a value for " + std::string(field.name) + ": \"" + value + "\"");
    };
    return std::visit(
        [&](auto member) -> Assignment {
            using Type = std::remove_reference_t<decltype(std::declval<Editor&>().*member)>;
            if constexpr (std::is_same_v<Type, std::string>) {
                try {
                    return [member, text = toCp932(value)](Editor& e) {
                        e.*member = text;
                    };
                } catch (const std::exception&) {
                    throw refuse();
                }
            } else if constexpr (std::is_same_v<Type, std::uint32_t>) {
                try {
                    return [member, color = TCmdCtrl::ParseColor(value)](Editor& e) {
                        e.*member = color;
                    };
                } catch (const std::exception&) {
                    throw refuse();
                }
            } else if constexpr (std::is_same_v<Type, bool>) {
                if (value != "1" && value != "0")
                    throw refuse();
                return [member, on = value == "1"](Editor& e) {
                    e.*member = on;
                };
            } else {
                const std::optional<int> number = parseInt(value);
                if (!number)
                    throw refuse();
                return [member, number = *number](Editor& e) {
                    e.*member = number;
                };
            }
        },
        field.member);
}

std::string printedValue(const Editor& editor, const Member& member) {
    return std::visit(
        [&](auto pointer) -> std::string {
            const auto& value = editor.*pointer;
            using Type = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<Type, std::string>)
                return toUtf8(value);
            else if constexpr (std::is_same_v<Type, std::uint32_t>)
                return TCmdCtrl::ColorText(value);
            else if constexpr (std::is_same_v<Type, bool>)
                return value ? "1" : "0";
            else
                return std::to_string(value);
        },
        member);
}

} // namespace

void runLayoutEditorStep(TWindowLayoutEditor& editor, const std::vector<std::string>& assignments) {
    std::vector<Assignment> settings;
    for (const std::string& argument : assignments)
        settings.push_back(assignmentOf(argument));
    for (const Assignment& set : settings)
        set(editor);
    std::string line = editor.Execute() ? "layout: shown" : "layout: not shown";
    for (const Field& field : kFields)
        if (field.printed)
            line += " " + std::string(field.name) + "=" + printedValue(editor, field.member);
    printScriptLine(line);
}

} // namespace pagora
