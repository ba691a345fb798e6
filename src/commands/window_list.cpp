#include "commands/window_list.h"

#include "gui/controls.h"

#include <QComboBox>

namespace pagora {

void fillWindowList(QComboBox& list) {
    list.addItems(playWindowNames());
}

} // namespace pagora
