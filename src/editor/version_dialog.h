#pragma once

#include "gui/dialog_frame.h"

#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace pagora {

struct DialogContext;

// The version dialog, "バージョン情報": the product, its version and the
// comic's author (the header's Copyright), which the user may change.
class TfrmVersion : public DialogFrame {
    Q_OBJECT

public:
    TfrmVersion(DialogContext& context, QWidget* parent = nullptr);

    // The modal run: the author as the dialog closed with it (CP932),
    // however it was closed; nothing when it did not close.
    std::optional<std::string> run();

    // Fills the author field from the comic.
    void load();
    // The author as the dialog closed with it (CP932); empty until it closed.
    const std::optional<std::string>& closingUserText() const { return closingUserText_; }

    // Closing keeps the author's text; text the comic cannot hold is refused
    // and the dialog stays open.
    void done(int result) override;

private:
    void readControls() override;

    DialogContext& context_;
    std::optional<std::string> closingUserText_;

    QLabel* lblProduct;
    QLabel* lblVersion;
    QLineEdit* edtUserName;
};

} // namespace pagora
