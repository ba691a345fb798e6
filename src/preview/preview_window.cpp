#include "preview/preview_window.h"

#include "gui/canvas_image.h"
#include "gui/dialog_frame.h"
#include "gui/help_topics.h"
#include "gui/help_viewer.h"
#include "gui/qt_text.h"
#include "platform/errors.h"
#include "player/play_session.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr int kStatePanelWidth = 240;

QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

PreviewView::PreviewView(PreviewPlayer& player, QWidget* parent)
    : QWidget(parent)
    , player_(player) {
    setObjectName(QStringLiteral("imgPreviewStage"));
    setFixedSize(player.stage().width(), player.stage().height());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    refresh();
}

void PreviewView::refresh() {
    player_.stage().draw(frame_);
    image_ = canvasImage(frame_);
    setCursor(player_.pointing() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void PreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void PreviewView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    PreviewStage& stage = player_.stage();
    if (const std::optional<int> window = stage.titleBarAt(at.x(), at.y())) {
        const CanvasRect place = stage.windowRect(*window);
        drag_ = Drag{*window, at - QPoint(place.left, place.top)};
        return;
    }
    player_.click(at.x(), at.y());
}

void PreviewView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_) {
        const QPoint corner = at - drag_->grip;
        player_.stage().moveWindow(drag_->window, corner.x(), corner.y());
        refresh();
        return;
    }
    player_.hover(at.x(), at.y());
}

void PreviewView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        drag_.reset();
}

void PreviewView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    player_.key(event->key());
}

TfrmPreview::TfrmPreview(const PreviewSource& source, const DialogServices& services,
                         OpenLine openLine, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , player_(source)
    , services_(services)
    , openLine_(std::move(openLine)) {
    setObjectName(QStringLiteral("TfrmPreview"));
    setWindowTitle(QStringLiteral("プレビュー"));
    setAttribute(Qt::WA_DeleteOnClose);

    imgPreviewStage = new PreviewView(player_, this);
    lblPreviewStatus = new QLabel(this);
    lblPreviewStatus->setObjectName(QStringLiteral("lblPreviewStatus"));
    lblPreviewStatus->setFrameShape(QFrame::StyledPanel);
    lblPreviewStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chkPreviewState = new QCheckBox(QStringLiteral("状態を表示"), this);
    chkPreviewState->setObjectName(QStringLiteral("chkPreviewState"));
    chkPreviewState->setChecked(true);
    chkPreviewState->setFocusPolicy(Qt::NoFocus);

    QPushButton* btnHelp = makeButton(QStringLiteral("ヘルプ(&H)"), "btnHelp", this);
    btnHelp->setFocusPolicy(Qt::NoFocus);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmPreview::btnHelpClick);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(lblPreviewStatus, 1);
    statusRow->addWidget(chkPreviewState);
    statusRow->addWidget(btnHelp);
    auto* stageColumn = new QVBoxLayout;
    stageColumn->addWidget(imgPreviewStage, 0, Qt::AlignLeft | Qt::AlignTop);
    stageColumn->addWidget(makeInputPanel());
    stageColumn->addStretch(1);
    stageColumn->addLayout(statusRow);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(stageColumn, 1);
    layout->addWidget(makeStatePanel());

    connect(chkPreviewState, &QCheckBox::toggled, pnlPreviewState, &QWidget::setVisible);
    connect(&player_, &PreviewPlayer::changed, imgPreviewStage, &PreviewView::refresh);
    connect(&player_, &PreviewPlayer::placeChanged, this, &TfrmPreview::showPlace);
    connect(&player_, &PreviewPlayer::noted, lblPreviewStatus, &QLabel::setText);
    connect(&player_, &PreviewPlayer::textAsked, this, &TfrmPreview::showInput);
    connect(&player_, &PreviewPlayer::inputClosed, this, &TfrmPreview::hideInput);
    imgPreviewStage->setFocus();
}

QWidget* TfrmPreview::makeStatePanel() {
    pnlPreviewState = new QWidget(this);
    pnlPreviewState->setObjectName(QStringLiteral("pnlPreviewState"));
    pnlPreviewState->setFixedWidth(kStatePanelWidth);
    lblPreviewPlace = new QLabel(pnlPreviewState);
    lblPreviewPlace->setObjectName(QStringLiteral("lblPreviewPlace"));
    lblPreviewPlace->setWordWrap(true);
    lblPreviewPlace->setToolTip(QStringLiteral("ダブルクリックでこの行を開きます"));
    lblPreviewPlace->installEventFilter(this);
    lstPreviewVariables = new QTableWidget(0, 2, pnlPreviewState);
    lstPreviewVariables->setObjectName(QStringLiteral("lstPreviewVariables"));
    lstPreviewVariables->setHorizontalHeaderLabels({QStringLiteral("変数"), QStringLiteral("値")});
    lstPreviewVariables->verticalHeader()->hide();
    lstPreviewVariables->horizontalHeader()->setStretchLastSection(true);
    lstPreviewVariables->setFocusPolicy(Qt::NoFocus);
    auto* column = new QVBoxLayout(pnlPreviewState);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(QStringLiteral("実行中の行"), pnlPreviewState));
    column->addWidget(lblPreviewPlace);
    column->addWidget(new QLabel(QStringLiteral("変数の値"), pnlPreviewState));
    column->addWidget(lstPreviewVariables, 1);
    return pnlPreviewState;
}

QWidget* TfrmPreview::makeInputPanel() {
    pnlPreviewInput = new QWidget(this);
    pnlPreviewInput->setObjectName(QStringLiteral("pnlPreviewInput"));
    lblPreviewPrompt = new QLabel(pnlPreviewInput);
    lblPreviewPrompt->setObjectName(QStringLiteral("lblPreviewPrompt"));
    edtPreviewInput = new QLineEdit(pnlPreviewInput);
    edtPreviewInput->setObjectName(QStringLiteral("edtPreviewInput"));
    btnPreviewInputOK = new QPushButton(QStringLiteral("OK"), pnlPreviewInput);
    btnPreviewInputOK->setObjectName(QStringLiteral("btnPreviewInputOK"));
    // The prompt above the box, so that a long one leaves the box its room.
    lblPreviewPrompt->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(edtPreviewInput, 1);
    row->addWidget(btnPreviewInputOK);
    auto* column = new QVBoxLayout(pnlPreviewInput);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(lblPreviewPrompt);
    column->addLayout(row);
    connect(btnPreviewInputOK, &QPushButton::clicked, this, &TfrmPreview::btnPreviewInputOKClick);
    connect(edtPreviewInput, &QLineEdit::returnPressed, this, &TfrmPreview::btnPreviewInputOKClick);
    pnlPreviewInput->hide();
    return pnlPreviewInput;
}

void TfrmPreview::start(const std::string& book, const std::string& page) {
    player_.start(book, page);
}

void TfrmPreview::startAtStartPage() {
    player_.startAtStartPage();
}

void TfrmPreview::showPlace() {
    const PlaySession& session = player_.session();
    const PlayPlace& place = player_.place();
    lblPreviewPlace->setText(QStringLiteral("%1 / %2 / %3")
                                 .arg(qtText(place.book), qtText(place.page))
                                 .arg(place.line + 1));
    const PlayVariables& variables = session.variables();
    lstPreviewVariables->setRowCount(
        static_cast<int>(variables.numbers().size() + variables.texts().size()));
    int row = 0;
    const auto showRow = [&](const std::string& name, const QString& value) {
        lstPreviewVariables->setItem(row, 0, readOnlyItem(qtText(name)));
        lstPreviewVariables->setItem(row, 1, readOnlyItem(value));
        ++row;
    };
    for (const TValueFlag& number : variables.numbers())
        showRow(number.Name, QString::number(number.Value));
    for (const TStringFlag& text : variables.texts())
        showRow(text.Name, qtText(text.Value));
}

void TfrmPreview::showInput(const QString& title, const QString& prompt) {
    lblPreviewPrompt->setText(title.isEmpty() ? prompt : title + QStringLiteral("：") + prompt);
    edtPreviewInput->clear();
    pnlPreviewInput->show();
    edtPreviewInput->setFocus();
}

void TfrmPreview::hideInput() {
    pnlPreviewInput->hide();
    imgPreviewStage->setFocus();
}

void TfrmPreview::btnPreviewInputOKClick() {
    try {
        player_.typeText(cp932Text(edtPreviewInput->text()));
    } catch (const EncodingError& error) {
        lblPreviewStatus->setText(errorText(error));
    }
}

void TfrmPreview::btnHelpClick() {
    showHelpTopic(services_, kPreviewHelpTopic);
}

void TfrmPreview::lblPreviewPlaceDblClick() {
    const PlayPlace place = player_.place();
    if (openLine_ && !place.book.empty())
        openLine_(place.book, place.page, place.line);
}

bool TfrmPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblPreviewPlace && event->type() == QEvent::MouseButtonDblClick) {
        lblPreviewPlaceDblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPreview::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmPreview::closeEvent(QCloseEvent* event) {
    player_.stop();
    event->accept();
}

} // namespace pagora
