#pragma once

#include "images/true_canvas.h"
#include "preview/preview_player.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pagora {

struct DialogServices;

// The stage of the preview: the composed frame, and the reader's mouse and
// keys handed to the player.
class PreviewView : public QWidget {
    Q_OBJECT

public:
    PreviewView(PreviewPlayer& player, QWidget* parent);
    // Draws the stage anew.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A window dragged by its title bar: which, and where the mouse holds
    // it, from the window's top left corner.
    struct Drag {
        int window;
        QPoint grip;
    };

    PreviewPlayer& player_;
    std::optional<Drag> drag_;
    TTC frame_;
    QImage image_;
};

// The preview window: the comic playing on its stage, the text box of text
// input, a status line for what the play tells, and a side panel with the
// place and the variables. It plays from the start it is given until the
// comic ends or the window closes (Escape closes it).
class TfrmPreview : public QWidget {
    Q_OBJECT

public:
    // Opens a line of the comic in the editor (book, page CP932; line from 0).
    using OpenLine = std::function<void(const std::string&, const std::string&, int)>;

    TfrmPreview(const PreviewSource& source, const DialogServices& services, OpenLine openLine,
                QWidget* parent = nullptr);

    // Plays from the first line of a page, or from the comic's start page.
    void start(const std::string& book, const std::string& page);
    void startAtStartPage();

    PreviewPlayer& player() { return player_; }

    void btnPreviewInputOKClick();
    void btnHelpClick();
    void lblPreviewPlaceDblClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeStatePanel();
    QWidget* makeInputPanel();
    void showPlace();
    void showInput(const QString& title, const QString& prompt);
    void hideInput();

    PreviewPlayer player_;
    const DialogServices& services_;
    OpenLine openLine_;
    PreviewView* imgPreviewStage = nullptr;
    QLabel* lblPreviewStatus = nullptr;
    QCheckBox* chkPreviewState = nullptr;
    QWidget* pnlPreviewState = nullptr;
    QLabel* lblPreviewPlace = nullptr;
    QTableWidget* lstPreviewVariables = nullptr;
    QWidget* pnlPreviewInput = nullptr;
    QLabel* lblPreviewPrompt = nullptr;
    QLineEdit* edtPreviewInput = nullptr;
    QPushButton* btnPreviewInputOK = nullptr;
};

} // namespace pagora
