#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pagora {

struct EditorContext;

// The version dialog, "バージョン情報": the product, its version and the
// comic's author (the header's Copyright), which the user may change.
class TfrmVersion : public QDialog {
    Q_OBJECT

public:
    TfrmVersion(EditorContext& context, QWidget* parent = nullptr);

    // Fills the author field from the comic.
    void load();
    // The author as the dialog closed with it (CP932); empty until it closed.
    const std::optional<std::string>& closingUserText() const { return closingUserText_; }

    // Closing keeps the author's text; text the comic cannot hold is refused
    // and the dialog stays open.
    void done(int result) override;

private:
    EditorContext& context_;
    std::optional<std::string> closingUserText_;

    QLabel* lblProduct;
    QLabel* lblVersion;
    QLineEdit* edtUserName;
    QPushButton* btnOK;
};

} // namespace pagora
