#include "commands/command_dialogs.h"

#include "commands/clickable_dialog.h"
#include "commands/flag_ctrl_dialog.h"
#include "commands/flow_dialogs.h"
#include "commands/graphic_dialog.h"
#include "commands/media_dialogs.h"
#include "commands/message_dialog.h"
#include "commands/select_dialog.h"
#include "commands/str_input_dialog.h"
#include "commands/string_ctrl_dialog.h"
#include "commands/system_command_dialog.h"
#include "commands/value_ctrl_dialog.h"
#include "commands/wait_time_dialog.h"

namespace pagora {

void registerCommandDialogs(TfrmCommand& chooser) {
    chooser.setDialog(CmdKind::ClickAble, dialogFactory<TfrmClickAble>());
    chooser.setDialog(CmdKind::ClickAbleClear, dialogFactory<TfrmClickAbleClear>());
    chooser.setDialog(CmdKind::FlagCtrl, dialogFactory<TfrmFlagCtrl>());
    chooser.setDialog(CmdKind::Graphic, dialogFactory<TfrmGraphic>());
    chooser.setDialog(CmdKind::MouseClick, dialogFactory<TfrmMouseClick>());
    chooser.setDialog(CmdKind::MsgDlg, dialogFactory<TfrmMessage>());
    chooser.setDialog(CmdKind::Music, dialogFactory<TfrmMusic>());
    chooser.setDialog(CmdKind::PageJump, dialogFactory<TfrmPageJump>());
    chooser.setDialog(CmdKind::SelectDlg, dialogFactory<TfrmSelectDlg>());
    chooser.setDialog(CmdKind::Sound, dialogFactory<TfrmSound>());
    chooser.setDialog(CmdKind::StrInput, dialogFactory<TfrmStrInput>());
    chooser.setDialog(CmdKind::StringCtrl, dialogFactory<TfrmStringCtrl>());
    chooser.setDialog(CmdKind::System, dialogFactory<TfrmSystemCmd>());
    chooser.setDialog(CmdKind::ValueCtrl, dialogFactory<TfrmValueCtrl>());
    chooser.setDialog(CmdKind::WaitTime, dialogFactory<TfrmWaitTime>());
    chooser.setDialog(CmdKind::WindowShow, dialogFactory<TfrmWindowShow>());
}

} // namespace pagora
