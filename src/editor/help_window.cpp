#include "editor/help_window.h"

#include "gui/dialog_frame.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 560;
const QString kContentsPage = QStringLiteral("index.html");

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , txtHelp_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ヘルプ"));
    txtHelp_->setObjectName(QStringLiteral("txtHelp"));
    txtHelp_->setOpenExternalLinks(true);
    btnBack_ = makeButton(QStringLiteral("戻る(&B)"), "btnBack", this);
    btnForward_ = makeButton(QStringLiteral("進む(&F)"), "btnForward", this);
    btnContents_ = makeButton(QStringLiteral("目次(&C)"), "btnContents", this);
    for (QPushButton* button : {btnBack_, btnForward_, btnContents_})
        button->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnContents_);
    buttons->addWidget(btnBack_);
    buttons->addWidget(btnForward_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtHelp_, 1);
    resize(kDefaultWidth, kDefaultHeight);

    connect(btnBack_, &QPushButton::clicked, this, &HelpWindow::btnBackClick);
    connect(btnForward_, &QPushButton::clicked, this, &HelpWindow::btnForwardClick);
    connect(btnContents_, &QPushButton::clicked, this, &HelpWindow::btnContentsClick);
    connect(txtHelp_, &QTextBrowser::backwardAvailable, btnBack_, &QPushButton::setEnabled);
    connect(txtHelp_, &QTextBrowser::forwardAvailable, btnForward_, &QPushButton::setEnabled);
}

bool HelpWindow::open(const QUrl& url) {
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return false;
    txtHelp_->setSource(url);
    btnContents_->setEnabled(true);
    bringToFront();
    return true;
}

void HelpWindow::bringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HelpWindow::btnBackClick() {
    txtHelp_->backward();
}

void HelpWindow::btnForwardClick() {
    txtHelp_->forward();
}

void HelpWindow::btnContentsClick() {
    const QUrl shown = txtHelp_->source();
    if (shown.isValid())
        txtHelp_->setSource(shown.resolved(QUrl(kContentsPage)));
}

} // namespace pagora
