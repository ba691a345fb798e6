#pragma once

#include "document/comic_editing.h"
#include "gui/dialog_frame.h"

#include <array>
#include <optional>
#include <vector>

class QComboBox;

namespace pagora {

struct DialogContext;

// "メニュー設定": per item of the player's menu, whether the player hides it
// ("非表示"), shows it ("表示") or, for the document and the help, controls it
// itself ("自動制御"). The choices are the header block "Menu"; its other
// keys are left as they are.
//
// Controls: cmbSave, cmbLoad, cmbConfig, cmbDocument, cmbHelp, cmbSetup,
// cmbVersion, cmbExit; btnOK, btnCancel, btnHelp.
class TfrmMenuSet : public DialogFrame {
    Q_OBJECT

public:
    static constexpr std::size_t kItems = 8;

    TfrmMenuSet(DialogContext& context, QWidget* parent = nullptr);

    // The modal run: the eight keys to write, in their fixed order; nothing
    // when the user cancelled.
    std::optional<std::vector<HeaderEntry>> run();

    // Selects each item's choice as the comic holds it.
    void load();
    // The keys as the last OK read them.
    const std::vector<HeaderEntry>& entries() const { return entries_; }

private:
    void readControls() override;

    DialogContext& context_;
    std::vector<HeaderEntry> entries_;
    std::array<QComboBox*, kItems> boxes_{};
};

} // namespace pagora
