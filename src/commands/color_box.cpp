#include "commands/color_box.h"

#include "document/cmd_ctrl.h"
#include "gui/qt_text.h"
#include "platform/prompter.h"

#include <QLineEdit>

namespace pagora {

void showBoxColor(QLineEdit& box, std::uint32_t color) {
    box.setText(qtText(TCmdCtrl::ColorText(color)));
}

std::uint32_t boxColor(const QLineEdit& box) {
    return TCmdCtrl::ParseColor(cp932Text(box.text()));
}

void chooseBoxColor(QLineEdit& box, Prompter& prompter) {
    if (const std::optional<std::uint32_t> color = prompter.chooseColor(boxColor(box)))
        showBoxColor(box, *color);
}

} // namespace pagora
