#include "commands/command_dialogs.h"

#include "commands/media_dialogs.h"
#include "commands/wait_time_dialog.h"

namespace pagora {

void registerCommandDialogs(TfrmCommand& chooser) {
    chooser.setDialog(CmdKind::Music, dialogFactory<TfrmMusic>());
    chooser.setDialog(CmdKind::Sound, dialogFactory<TfrmSound>());
    chooser.setDialog(CmdKind::WaitTime, dialogFactory<TfrmWaitTime>());
}

} // namespace pagora
