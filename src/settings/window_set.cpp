#include "settings/window_set.h"

#include "document/comic_file.h"
#include "gui/canvas_image.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"
#include "images/picture_loader.h"
#include "platform/comic_file_lookup.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <span>

namespace pagora {
namespace {

// Room left around the editor when a window is larger than the screen.
constexpr int kScreenMargin = 40;

// The fields as the caller set them, given back when the user closes the
// editor without "設定終了".
class GivenFields final : public TWindowLayoutEditor {
public:
    explicit GivenFields(const TWindowLayoutEditor& fields)
        : TWindowLayoutEditor(fields) {}
    bool Execute() override { return false; }
    void ImageConfirmed() override {}
};

LayoutPoint pointOf(const QPointF& position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

Qt::CursorShape cursorFor(FrameGrip grip) {
    switch (grip) {
    case FrameGrip::Left:
    case FrameGrip::Right:
        return Qt::SizeHorCursor;
    case FrameGrip::Top:
    case FrameGrip::Bottom:
        return Qt::SizeVerCursor;
    case FrameGrip::Inside:
        return Qt::SizeAllCursor;
    case FrameGrip::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

LayoutView::LayoutView(TfrmWindowSet& editor)
    : editor_(editor) {
    setObjectName(QStringLiteral("imgWindow"));
    setMouseTracking(true);
}

void LayoutView::showCanvas(const TTC& screen) {
    image_ = canvasImage(screen);
    update();
}

void LayoutView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void LayoutView::mousePressEvent(QMouseEvent* event) {
    editor_.imgWindowMouseDown(event->button(), pointOf(event->position()));
}

void LayoutView::mouseMoveEvent(QMouseEvent* event) {
    editor_.imgWindowMouseMove(pointOf(event->position()));
}

void LayoutView::mouseReleaseEvent(QMouseEvent* event) {
    editor_.imgWindowMouseUp(event->button(), pointOf(event->position()));
}

void LayoutView::contextMenuEvent(QContextMenuEvent* event) {
    editor_.contextMenu().popup(event->globalPos());
}

TfrmWindowSet::TfrmWindowSet(const LayoutEditorSources& sources, QWidget* parent)
    : QDialog(parent)
    , sources_(sources) {
    setObjectName(QStringLiteral("TfrmWindowSet"));
    view_ = new LayoutView(*this);
    // A window larger than the screen scrolls.
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(view_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    buildMenus();
}

bool TfrmWindowSet::Execute() {
    const GivenFields given(*this);
    if (!prepare()) {
        TWindowLayoutEditor::operator=(given);
        return false;
    }
    const bool ended = sources_.services.runModal(*this) == QDialog::Accepted;
    if (!ended)
        TWindowLayoutEditor::operator=(given);
    finish();
    return true;
}

bool TfrmWindowSet::prepare() {
    pictureMode_ = Mode == kPictureMode || Mode == kColorPickMode;
    lastPreview_.reset();
    if (pictureMode_) {
        Mode = kPictureMode;
        if (!loadPictureOrTell())
            return false;
    }
    openWindowPreview();
    Step = usableStep(Step);
    openFrame();
    viewDrag_ = false;
    drag_.reset();
    setWindowTitle(pictureMode_ ? QStringLiteral("画像の位置設定 - [") + qtText(FileName) +
                                      QStringLiteral("]")
                                : QStringLiteral("テキストの位置設定"));
    view_->unsetCursor();
    updateChecks();
    placeOnScreen();
    redraw();
    return true;
}

void TfrmWindowSet::finish() {
    drag_.reset();
    if (Mode == kColorPickMode)
        Mode = kPictureMode;
    if (pictureMode_) {
        openFrame();
        keepLastPreview();
    }
    preview_.releasePicture();
}

void TfrmWindowSet::ImageConfirmed() {
    if (!lastPreview_)
        return;
    preview_.setBackground(lastPreviewWindow_, std::move(*lastPreview_));
    lastPreview_.reset();
}

bool TfrmWindowSet::loadPictureOrTell() {
    Prompter& prompter = sources_.services.prompter;
    const std::filesystem::path file = picturePath();
    if (file.empty()) {
        prompter.error(PAGORA_CP932("画像ファイルが見つかりません"));
        return false;
    }
    PictureLoad load =
        loadPicture(file, pictureReaders(sources_.user.usePlugIns),
                    pathFromText(utf8Text(sources_.user.plugInDir)) / "*.SPI", prompter);
    if (!load.picture) {
        prompter.error((load.tooLarge ? PAGORA_CP932("画像が大きすぎます（8192×8192ドットまで）\n")
                                      : PAGORA_CP932("この画像ファイルは読み込めません\n")) +
                       FileName);
        return false;
    }
    keepTopDivision(*load.picture, ImageDivision);
    preview_.setPicture(std::move(*load.picture));
    return true;
}

std::filesystem::path TfrmWindowSet::picturePath() const {
    if (sources_.file.isUntitled())
        return {};
    ComicFileLookup lookup(comicFolder(sources_.file.fileName),
                           sources_.comic.ReadHeader("Comic", "DataDirectory", ""));
    return lookup.find(FileName);
}

void TfrmWindowSet::openWindowPreview() {
    const int windowNo = playWindowIndex(WindowNo);
    const PlayWindowLook look = readPlayWindow(sources_.comic, windowNo);
    windowSize_ = previewSize({look.width, look.height});
    preview_.openWindow(windowNo, windowSize_, look);
}

void TfrmWindowSet::openFrame() {
    frame_ = openingFrame({PosLeft, PosTop, PosRight, PosBottom}, pictureLimit(), windowSize_);
    PosLeft = frame_.left;
    PosTop = frame_.top;
    PosRight = frame_.right;
    PosBottom = frame_.bottom;
    viewOffset_ = {std::clamp(ViewLeft, -kCoordinateLimit, kCoordinateLimit),
                   std::clamp(ViewTop, -kCoordinateLimit, kCoordinateLimit)};
}

void TfrmWindowSet::placeOnScreen() {
    view_->setFixedSize(windowSize_.width, windowSize_.height);
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry()
                                              : QRect(0, 0, windowSize_.width, windowSize_.height);
    const QSize client(
        std::min(windowSize_.width, std::max(available.width() - kScreenMargin, 1)),
        std::min(windowSize_.height, std::max(available.height() - kScreenMargin, 1)));
    setFixedSize(client);
    move(available.center() - QPoint(client.width() / 2, client.height() / 2));
}

std::optional<LayoutSize> TfrmWindowSet::pictureLimit() const {
    if (!pictureMode_)
        return std::nullopt;
    return preview_.pictureSize();
}

LayoutPoint TfrmWindowSet::snapped(LayoutPoint at) const {
    const int step = usableStep(Step);
    return {snapToStep(at.x, step), snapToStep(at.y, step)};
}

void TfrmWindowSet::imgWindowMouseDown(Qt::MouseButton button, LayoutPoint at) {
    if (button != Qt::LeftButton)
        return;
    if (Mode == kColorPickMode) {
        pickTransparentColor(at);
        return;
    }
    const FrameGrip grip = hitTest(frame_, at);
    if (grip == FrameGrip::None)
        return;
    const DragKind kind = grip != FrameGrip::Inside   ? DragKind::Edge
                          : pictureMode_ && viewDrag_ ? DragKind::View
                                                      : DragKind::Frame;
    drag_ = Drag{kind, grip, snapped(at), frame_, viewOffset_};
}

void TfrmWindowSet::imgWindowMouseMove(LayoutPoint at) {
    if (!drag_) {
        view_->setCursor(Mode == kColorPickMode ? Qt::CrossCursor : cursorFor(hitTest(frame_, at)));
        return;
    }
    dragTo(at);
    redraw();
}

void TfrmWindowSet::imgWindowMouseUp(Qt::MouseButton button, LayoutPoint at) {
    if (button != Qt::LeftButton || !drag_)
        return;
    dragTo(at);
    drag_.reset();
    takeFrame();
    redraw();
}

void TfrmWindowSet::dragTo(LayoutPoint at) {
    const LayoutPoint to = snapped(at);
    const LayoutPoint moved{to.x - drag_->press.x, to.y - drag_->press.y};
    switch (drag_->kind) {
    case DragKind::Edge: {
        const bool across = drag_->grip == FrameGrip::Left || drag_->grip == FrameGrip::Right;
        frame_ =
            dragEdge(drag_->frame, drag_->grip, across ? to.x : to.y, windowSize_, pictureLimit());
        break;
    }
    case DragKind::Frame:
        frame_ = moveFrame(drag_->frame, moved);
        break;
    case DragKind::View:
        viewOffset_ = {drag_->view.x - moved.x, drag_->view.y - moved.y};
        break;
    }
    frame_ = keepInside(frame_, windowSize_);
    if (pictureMode_)
        viewOffset_ = clampView(viewOffset_, frame_, preview_.pictureSize());
}

void TfrmWindowSet::takeFrame() {
    frame_ = keepInside(frame_, windowSize_);
    PosLeft = frame_.left;
    PosTop = frame_.top;
    PosRight = frame_.right;
    PosBottom = frame_.bottom;
    if (!pictureMode_)
        return;
    viewOffset_ = clampView(viewOffset_, frame_, preview_.pictureSize());
    ViewLeft = viewOffset_.x;
    ViewTop = viewOffset_.y;
}

void TfrmWindowSet::pickTransparentColor(LayoutPoint at) {
    const std::optional<LayoutPoint> pixel =
        picturePixelAt(frame_, viewOffset_, preview_.pictureSize(), FitToPos, at);
    if (!pixel)
        return;
    TransparentColor = preview_.pictureColor(*pixel);
    Mode = kPictureMode;
    view_->unsetCursor();
    redraw();
}

void TfrmWindowSet::redraw() {
    drawPreview(true);
    view_->showCanvas(preview_.screen());
}

void TfrmWindowSet::drawPreview(bool guides) {
    if (pictureMode_)
        preview_.drawPicture(frame_, pictureLook(), guides);
    else
        preview_.drawText(frame_, {SampleText, FontSize, FontColor}, guides);
}

PictureLook TfrmWindowSet::pictureLook() const {
    return {viewOffset_,          FitToPos,        UseTransparent,
            AutoTransparentColor, HalfTransparent, TransparentColor};
}

void TfrmWindowSet::keepLastPreview() {
    drawPreview(false);
    lastPreview_ = preview_.screen();
    lastPreviewWindow_ = preview_.windowNo();
}

} // namespace pagora
