#pragma once

#include <string>
#include <string_view>
#include <vector>

class QComboBox;

namespace pagora {

class TFlagCtrl;

// Which variables a list offers, in this order.
enum class VariableNames {
    Numeric,             // the comic's numeric variables
    String,              // the comic's string variables
    NumericWithBuiltIns, // "@乱数" … "@経過時間", then the comic's numeric variables
    StringWithBuiltIns,  // "@曜日", then the comic's string variables
};

std::vector<std::string> variableNames(const TFlagCtrl& flags, VariableNames names);

// Drop-down lists of names (variables, books, pages) are filled, chosen from
// and read with the name-list functions of gui/controls.h.

// The chosen variable; OK is refused, naming the list, while none is chosen.
std::string requiredVariable(QComboBox& list);

// A variable reference without its delimiters: "%a%" -> "a"; a text that
// does not begin with the delimiter is taken as a bare name. Only the
// delimiter itself is cut at the end: unlike the last byte of a name it can
// never be half of a double-byte character.
std::string bareName(std::string_view reference, char delimiter);

} // namespace pagora
