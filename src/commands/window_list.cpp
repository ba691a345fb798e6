#include "commands/window_list.h"

#include <QComboBox>

namespace pagora {

void fillWindowList(QComboBox& list) {
    list.addItems({QStringLiteral("メインウインドウ"), QStringLiteral("メッセージウインドウ"),
                   QStringLiteral("セレクトウインドウ"), QStringLiteral("ユーザーウインドウ１"),
                   QStringLiteral("ユーザーウインドウ２"), QStringLiteral("ユーザーウインドウ３")});
}

} // namespace pagora
