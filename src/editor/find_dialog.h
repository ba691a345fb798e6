#pragma once

#include "document/comic_find.h"
#include "gui/dialog_frame.h"

#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace pagora {

struct DialogServices;

// What to find: the text (CP932) and how.
struct FindRequest {
    std::string text;
    FindOptions options;
    bool operator==(const FindRequest&) const = default;
};

// The find dialog, "検索": the text to find in the lines of every page, and
// whether ASCII letters must match in case and whether the lines are
// searched as the file holds them instead of as the command list shows
// them. Controls: edtFindText, chkMatchCase, chkRawText; btnOK "検索",
// btnCancel, btnHelp.
class TfrmFind : public DialogFrame {
    Q_OBJECT

public:
    TfrmFind(DialogServices& services, QWidget* parent = nullptr);

    // The modal run from the last request; the request confirmed, or nothing.
    std::optional<FindRequest> run(const FindRequest& last);

    void load(const FindRequest& request);
    const FindRequest& request() const { return request_; }

private:
    void readControls() override;

    FindRequest request_;
    QLineEdit* edtFindText;
    QCheckBox* chkMatchCase;
    QCheckBox* chkRawText;
};

} // namespace pagora
