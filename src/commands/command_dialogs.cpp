#include "commands/command_dialogs.h"

#include "commands/flag_ctrl_dialog.h"
#include "commands/graphic_dialog.h"
#include "commands/message_dialog.h"
#include "commands/str_input_dialog.h"
#include "commands/string_ctrl_dialog.h"
#include "commands/system_dialog.h"
#include "commands/value_ctrl_dialog.h"

namespace pagora {

void registerCommandDialogs(TfrmCommand& chooser) {
    chooser.setDialog(CmdKind::FlagCtrl, dialogFactory<TfrmFlagCtrl>());
    chooser.setDialog(CmdKind::Graphic, dialogFactory<TfrmGraphic>());
    chooser.setDialog(CmdKind::MsgDlg, dialogFactory<TfrmMessage>());
    chooser.setDialog(CmdKind::StrInput, dialogFactory<TfrmStrInput>());
    chooser.setDialog(CmdKind::StringCtrl, dialogFactory<TfrmStringCtrl>());
    chooser.setDialog(CmdKind::System, dialogFactory<TfrmSystemCmd>());
    chooser.setDialog(CmdKind::ValueCtrl, dialogFactory<TfrmValueCtrl>());
}

} // namespace pagora
