#include "commands/command_dialogs.h"

#include "commands/graphic_dialog.h"
#include "commands/message_dialog.h"

namespace pagora {

void registerCommandDialogs(TfrmCommand& chooser) {
    chooser.setDialog(CmdKind::Graphic, dialogFactory<TfrmGraphic>());
    chooser.setDialog(CmdKind::MsgDlg, dialogFactory<TfrmMessage>());
}

} // namespace pagora
