#pragma once

#include "document/play_windows.h"
#include "gui/layout_editor.h"
#include "settings/layout_geometry.h"
#include "settings/layout_preview.h"

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <optional>

class QAction;
class QActionGroup;
class QMenu;

namespace pagora {

struct DialogServices;
struct FileSession;
struct UserSettings;
class TComicFileCtrl;
class TfrmWindowSet;

// What the layout editor reads and whom it tells: the comic's header and
// file, the user's plug-in settings, and the services for messages, help
// and the modal run.
struct LayoutEditorSources {
    DialogServices& services;
    const TComicFileCtrl& comic;
    const FileSession& file;
    const UserSettings& user;
};

// The picture of the play window, at the window's size; the mouse and the
// context menu go to the editor.
class LayoutView : public QWidget {
    Q_OBJECT

public:
    explicit LayoutView(TfrmWindowSet& editor);

    void showCanvas(const TTC& screen);
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TfrmWindowSet& editor_;
    QImage image_;
};

// The layout editor: one window for the whole run that shows a play window
// at its real size with a 10-pixel grid and the picture or a sample text in
// a frame, which the user moves and sizes with the mouse. Callers set the
// public fields, run Execute and read the fields back.
class TfrmWindowSet : public QDialog, public TWindowLayoutEditor {
    Q_OBJECT

public:
    explicit TfrmWindowSet(const LayoutEditorSources& sources, QWidget* parent = nullptr);

    bool Execute() override;
    void ImageConfirmed() override;

    // The mouse on the window's picture, in window pixels.
    void imgWindowMouseDown(Qt::MouseButton button, LayoutPoint at);
    void imgWindowMouseMove(LayoutPoint at);
    void imgWindowMouseUp(Qt::MouseButton button, LayoutPoint at);
    // The context menu of the mode: the area menu for a clickable area,
    // else the picture or the text menu; its checks brought up to date.
    QMenu& contextMenu();

    // The menu items.
    void menuPositionScreenClick();
    void menuPositionImageClick();
    void menuStepClick(int step);
    void menuFitToPosClick();
    void menuUseTransparentClick();
    void menuAutoTransparentClick();
    void menuPickTransparentClick();
    void menuHalfTransparentClick();
    void menuFontSizeClick(int points);
    void menuFontColorClick();
    void menuHelpClick();
    void menuEndClick();

    // The frame as the mouse leaves it while a button is held.
    const LayoutFrame& frame() const { return frame_; }
    LayoutSize windowSize() const { return windowSize_; }
    LayoutView& view() { return *view_; }
    const LayoutView& view() const { return *view_; }

private:
    // What the left button took hold of.
    enum class DragKind { Edge, Frame, View };
    struct Drag {
        DragKind kind;
        FrameGrip grip;
        LayoutPoint press; // cut down to the step
        LayoutFrame frame;
        LayoutPoint view;
    };

    void buildMenus();
    QAction* addItem(QMenu& menu, const char* name, const QString& caption, bool checkable,
                     void (TfrmWindowSet::*handler)());
    QMenu* addSubmenu(QMenu& menu, const char* name, const QString& caption);
    void updateChecks();

    // Everything before the editor shows: the picture, the window, the
    // frame; false when it cannot show.
    bool prepare();
    // After it closed: the fields' frame, the last preview kept, the
    // picture released.
    void finish();
    // Loads the picture of FileName; false after telling the user why not.
    bool loadPictureOrTell();
    // The picture file in the data folder (or the comic's folder); empty
    // when there is none.
    std::filesystem::path picturePath() const;
    void openWindowPreview();
    // The frame and the view offset from the fields; the frame's filled-in
    // edges are written back.
    void openFrame();
    void placeOnScreen();
    // The picture's size, which limits the frame in picture mode.
    std::optional<LayoutSize> pictureLimit() const;
    LayoutPoint snapped(LayoutPoint at) const;
    void dragTo(LayoutPoint at);
    void pickTransparentColor(LayoutPoint at);
    void takeFrame();
    void redraw();
    void drawPreview(bool guides);
    PictureLook pictureLook() const;
    void keepLastPreview();

    LayoutEditorSources sources_;
    LayoutPreview preview_;
    LayoutView* view_ = nullptr;

    bool pictureMode_ = false;
    bool viewDrag_ = false; // "画像内の表示部分を設定する"
    LayoutSize windowSize_{640, 480};
    LayoutFrame frame_{0, 0, 639, 479};
    LayoutPoint viewOffset_;
    std::optional<Drag> drag_;
    // The last picture preview of a window, kept until an image is confirmed.
    std::optional<TTC> lastPreview_;
    int lastPreviewWindow_ = 0;

    QMenu* popmenuImage_ = nullptr;
    QMenu* popmenuText_ = nullptr;
    QMenu* popmenuArea_ = nullptr;
    QActionGroup* stepGroup_ = nullptr;
    QActionGroup* fontSizeGroup_ = nullptr;
    QAction* menuPositionScreen_ = nullptr;
    QAction* menuPositionImage_ = nullptr;
    QAction* menuFitToPos_ = nullptr;
    QAction* menuUseTransparent_ = nullptr;
    QAction* menuAutoTransparent_ = nullptr;
    QAction* menuHalfTransparent_ = nullptr;
};

} // namespace pagora
