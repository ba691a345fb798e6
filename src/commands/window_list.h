#pragma once

class QComboBox;

namespace pagora {

// Fills a list with the six windows of a comic, in window number order
// ("メインウインドウ" … "ユーザーウインドウ３").
void fillWindowList(QComboBox& list);

} // namespace pagora
