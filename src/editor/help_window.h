#pragma once

#include "gui/help_viewer.h"

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace pagora {

// The help window, "ヘルプ": the help pages in a browser of the editor's own,
// with back, forward and contents buttons. One window serves every request
// and comes to the front for each, so help works without a web browser.
class HelpWindow : public QWidget, public HelpViewer {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page at url (a local help page, at its anchor when it has
    // one). False when there is no such page.
    bool open(const QUrl& url) override;

    void btnBackClick();
    void btnForwardClick();
    // The contents page beside the page shown.
    void btnContentsClick();

    QTextBrowser& browser() const { return *txtHelp_; }

private:
    void bringToFront();

    QTextBrowser* txtHelp_;
    QPushButton* btnBack_;
    QPushButton* btnForward_;
    QPushButton* btnContents_;
};

} // namespace pagora
