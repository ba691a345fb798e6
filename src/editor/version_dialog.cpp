#include "editor/version_dialog.h"

#include "document/comic_file.h"
#include "editor/editor_icons.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr double kProgramVersion = 1.41;

} // namespace

TfrmVersion::TfrmVersion(DialogContext& context, QWidget* parent)
    : DialogFrame(context.services, {"TfrmVersion", QStringLiteral("バージョン情報"), 0, QString()},
                  parent)
    , context_(context) {
    auto* picture = new QLabel(this);
    picture->setPixmap(EditorIcons::tool("player").pixmap(32, 32));
    lblProduct = new QLabel(QStringLiteral("パゴラ　ｆｏｒ　Ｗｉｎ９５"), this);
    lblProduct->setObjectName(QStringLiteral("lblProduct"));
    QFont large = lblProduct->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    lblProduct->setFont(large);
    lblVersion =
        new QLabel(QStringLiteral("Ｖｅｒｓｉｏｎ ") + QString::number(kProgramVersion), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    edtUserName = new QLineEdit(this);
    edtUserName->setObjectName(QStringLiteral("edtUserName"));

    auto* heading = new QHBoxLayout;
    heading->addWidget(picture);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblProduct);
    texts->addWidget(lblVersion);
    heading->addLayout(texts, 1);
    auto* layout = new QVBoxLayout;
    layout->addLayout(heading);
    layout->addWidget(edtUserName);
    setBody(layout);
}

std::optional<std::string> TfrmVersion::run() {
    load();
    runModal();
    return closingUserText_;
}

void TfrmVersion::load() {
    edtUserName->setText(qtText(context_.comic.ReadHeader("Comic", "Copyright", "Pagora User")));
}

void TfrmVersion::readControls() {
    closingUserText_ = fieldText(*edtUserName);
}

// Closing by any way, the close box included, takes the author's text.
void TfrmVersion::done(int result) {
    if (commit())
        QDialog::done(result);
}

} // namespace pagora
