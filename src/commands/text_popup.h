#pragma once

#include <functional>

class QLineEdit;
class QMenu;
class QWidget;

namespace pagora {

struct DialogContext;

// What the pop-up of a text that takes embedded variables does.
struct TextPopupSteps {
    std::function<void()> cut;
    std::function<void()> copy;
    std::function<void()> paste;
    std::function<void(bool numeric)> embedVariable;
};

// The pop-up of such a text: "切り取り", "コピー", "貼り付け", then
// "数値変数の埋め込み" and "文字列変数の埋め込み" (items popCut, popCopy,
// popPaste, popValueFlag, popStringFlag).
QMenu* makeTextPopup(QWidget& owner, const TextPopupSteps& steps);

// Gives a one-line text box that pop-up: an embedded variable replaces the
// box's selection.
void attachTextPopup(QLineEdit& edit, DialogContext& context);

} // namespace pagora
