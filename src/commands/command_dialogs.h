#pragma once

#include "commands/command_chooser.h"
#include "commands/command_dialog.h"

#include <memory>

namespace pagora {

// The factory of a command dialog made from the context and a parent.
template <typename Dialog> CommandDialogFactory dialogFactory() {
    return [](DialogContext& context, QWidget* parent) -> std::unique_ptr<TCommandDialog> {
        return std::make_unique<Dialog>(context, parent);
    };
}

// Gives the chooser the dialog of every command kind that has one.
void registerCommandDialogs(TfrmCommand& chooser);

} // namespace pagora
