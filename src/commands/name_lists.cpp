#include "commands/name_lists.h"

#include "document/flag_ctrl.h"
#include "gui/controls.h"
#include "gui/dialog_frame.h"

#include <QComboBox>

namespace pagora {
std::vector<std::string> variableNames(const TFlagCtrl& flags, VariableNames names) {
    std::vector<std::string> result;
    if (names == VariableNames::NumericWithBuiltIns)
        result = TFlagCtrl::GetSpecialValueNames();
    if (names == VariableNames::StringWithBuiltIns)
        result = TFlagCtrl::GetSpecialStringNames();
    const bool numeric =
        names == VariableNames::Numeric || names == VariableNames::NumericWithBuiltIns;
    for (std::string& name : numeric ? flags.GetValueFlagNames() : flags.GetStringFlagNames())
        result.push_back(std::move(name));
    return result;
}

std::string requiredVariable(QComboBox& list) {
    std::string name = chosenName(list);
    if (name.empty())
        throw FieldError(QStringLiteral("変数が選択されていません"), &list);
    return name;
}

std::string bareName(std::string_view reference, char delimiter) {
    if (!reference.starts_with(delimiter))
        return std::string(reference);
    reference.remove_prefix(1);
    if (reference.ends_with(delimiter))
        reference.remove_suffix(1);
    return std::string(reference);
}

} // namespace pagora
