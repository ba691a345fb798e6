#include "editor/version_dialog.h"

#include "editor/editor_context.h"
#include "editor/editor_icons.h"
#include "editor/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr double kProgramVersion = 1.41;

} // namespace

TfrmVersion::TfrmVersion(EditorContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context) {
    setObjectName(QStringLiteral("TfrmVersion"));
    setWindowTitle(QStringLiteral("バージョン情報"));
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
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);

    auto* heading = new QHBoxLayout;
    heading->addWidget(picture);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblProduct);
    texts->addWidget(lblVersion);
    heading->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(edtUserName);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmVersion::load() {
    edtUserName->setText(qtText(context_.comic().ReadHeader("Comic", "Copyright", "Pagora User")));
}

void TfrmVersion::done(int result) {
    try {
        closingUserText_ = cp932Text(edtUserName->text());
    } catch (const EncodingError& error) {
        context_.services.showErrorBox(errorText(error));
        edtUserName->setFocus();
        return;
    }
    QDialog::done(result);
}

} // namespace pagora
