#include "commands/name_lists.h"

#include "document/flag_ctrl.h"
#include "gui/dialog_frame.h"
#include "gui/qt_text.h"

#include <QComboBox>

namespace pagora {
namespace {

QByteArray bytesOf(std::string_view name) {
    return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

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

void fillNameList(QComboBox& list, const std::vector<std::string>& names) {
    const std::optional<std::string> chosen = chosenName(list);
    list.clear();
    for (const std::string& name : names)
        list.addItem(qtText(name), bytesOf(name));
    list.setCurrentIndex(-1);
    if (chosen)
        selectName(list, *chosen);
}

bool selectName(QComboBox& list, std::string_view name) {
    list.setCurrentIndex(list.findData(bytesOf(name)));
    return list.currentIndex() >= 0;
}

std::optional<std::string> chosenName(const QComboBox& list) {
    if (list.currentIndex() < 0)
        return std::nullopt;
    return list.currentData().toByteArray().toStdString();
}

std::string requiredVariable(QComboBox& list) {
    std::optional<std::string> name = chosenName(list);
    if (!name)
        throw FieldError(QStringLiteral("変数が選択されていません"), &list);
    return std::move(*name);
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
