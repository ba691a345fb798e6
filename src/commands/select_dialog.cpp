#include "commands/select_dialog.h"

#include "commands/color_box.h"
#include "commands/command_controls.h"
#include "commands/layout_frame.h"
#include "commands/text_popup.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/layout_editor.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr int kMessageColumn = 0;
constexpr int kPageColumn = 1;
constexpr int kMessageWidth = 300;
constexpr int kPageWidth = 100;

// The page column is chosen from cmbPageList, never typed.
class NoEditor : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        return nullptr;
    }
};

// "$page$" without its "$" signs.
std::string pageOfTarget(std::string_view target) {
    target.remove_prefix(1);
    if (target.ends_with('$'))
        target.remove_suffix(1);
    return std::string(target);
}

std::string pageOf(const QTreeWidgetItem& row) {
    return nameOfData(row.data(kPageColumn, Qt::UserRole));
}

// A row's message keeps the bytes it was read with until it is changed, so
// that a text the code page shows only in part is written back as it was.
std::string messageOf(const QTreeWidgetItem& row) {
    return keptText(row.text(kMessageColumn), nameOfData(row.data(kMessageColumn, Qt::UserRole)));
}

void setPage(QTreeWidgetItem& row, const std::string& page) {
    row.setText(kPageColumn, qtText(page));
    row.setData(kPageColumn, Qt::UserRole, nameData(page));
}

} // namespace

TfrmSelectDlg::TfrmSelectDlg(DialogContext& context, QWidget* parent)
    : TRecordDialog(
          context,
          {"TfrmSelectDlg", QStringLiteral("セレクトウインドウの表示"), kSelectDlgHelpTopic},
          parent)
    , ListView_(new QTreeWidget(this))
    , edtMessage_(makeLineEdit("edtMessage", this))
    , cmbPageList_(makeList("cmbPageList", {}, this))
    , btnAdd_(makeButton(QStringLiteral("追加(&A)"), "btnAdd", this))
    , btnInsert_(makeButton(QStringLiteral("挿入(&I)"), "btnInsert", this))
    , btnDelete_(makeButton(QStringLiteral("削除(&D)"), "btnDelete", this))
    , cmbSelectWindow_(makeWindowList("cmbSelectWindow", this))
    , cmbFontSize_(makeFontSizeList("cmbFontSize", this))
    , edtFontColor_(makeReadOnlyEdit("edtFontColor", this)) {
    ListView_->setObjectName(QStringLiteral("ListView"));
    ListView_->setHeaderLabels(
        {QStringLiteral("表示するメッセージ"), QStringLiteral("移動先のページ")});
    ListView_->setColumnWidth(kMessageColumn, kMessageWidth);
    ListView_->setColumnWidth(kPageColumn, kPageWidth);
    ListView_->setRootIsDecorated(false);
    ListView_->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView_->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::SelectedClicked);
    ListView_->setItemDelegateForColumn(kPageColumn, new NoEditor(ListView_));
    ListView_->setMinimumWidth(kMessageWidth + kPageWidth + 4);
    attachTextPopup(*edtMessage_, context);
    edtMessage_->setAttribute(Qt::WA_InputMethodEnabled);

    pageNames_ = context.comic.GetPageList(context.file.currentBook);
    fillNames(*cmbPageList_, pageNames_);

    auto* rowButtons = new QVBoxLayout;
    rowButtons->addWidget(btnAdd_);
    rowButtons->addWidget(btnInsert_);
    rowButtons->addWidget(btnDelete_);
    rowButtons->addStretch(1);
    auto* choice = new QFormLayout;
    choice->addRow(QStringLiteral("表示するメッセージ"), edtMessage_);
    choice->addRow(QStringLiteral("移動先のページ"), cmbPageList_);
    auto* choices = new QGridLayout;
    choices->addWidget(ListView_, 0, 0);
    choices->addLayout(rowButtons, 0, 1);
    choices->addLayout(choice, 1, 0, 1, 2);

    auto* colorButton = makeButton(QStringLiteral("色の選択"), "btnColorSet", this);
    auto* positionButton = makeButton(QStringLiteral("表示位置設定"), "btnPosition", this);
    auto* look = new QGridLayout;
    look->addWidget(new QLabel(QStringLiteral("対象ウインドウ"), this), 0, 0);
    look->addWidget(cmbSelectWindow_, 0, 1);
    look->addWidget(new QLabel(QStringLiteral("サイズ"), this), 0, 2);
    look->addWidget(cmbFontSize_, 0, 3);
    look->addWidget(positionButton, 0, 4);
    look->addWidget(new QLabel(QStringLiteral("色"), this), 1, 0);
    look->addWidget(edtFontColor_, 1, 1);
    look->addWidget(colorButton, 1, 2, 1, 2);
    look->setColumnStretch(5, 1);

    auto* body = new QVBoxLayout;
    body->addLayout(choices, 1);
    body->addLayout(look);
    setBody(body);

    connect(btnAdd_, &QPushButton::clicked, this, &TfrmSelectDlg::btnAddClick);
    connect(btnInsert_, &QPushButton::clicked, this, &TfrmSelectDlg::btnInsertClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TfrmSelectDlg::btnDeleteClick);
    connect(colorButton, &QPushButton::clicked, this, &TfrmSelectDlg::btnColorSetClick);
    connect(positionButton, &QPushButton::clicked, this, &TfrmSelectDlg::btnPositionClick);
    connect(ListView_, &QTreeWidget::itemSelectionChanged, this, &TfrmSelectDlg::ListViewChange);
    connect(ListView_, &QTreeWidget::itemChanged, this, &TfrmSelectDlg::ListViewEdited);
    connect(edtMessage_, &QLineEdit::textChanged, this, &TfrmSelectDlg::edtMessageChange);
    connect(cmbPageList_, &QComboBox::currentIndexChanged, this, &TfrmSelectDlg::cmbPageListChange);
    ListViewChange();
}

void TfrmSelectDlg::showRecord(const TCmdSelectDlg& record) {
    showWindow(*cmbSelectWindow_, record.Option.Win);
    showFontSize(*cmbFontSize_, record.Option.Size);
    showBoxColor(*edtFontColor_, record.Option.Color);
    ListView_->clear();
    for (std::size_t slot = 0; slot < kMaxChoices && record.Targets[slot].starts_with('$'); ++slot)
        newRow(static_cast<int>(slot), record.Items[slot], pageOfTarget(record.Targets[slot]));
    if (record.Targets[kMaxChoices].starts_with('$'))
        context_.prompter().warning(
            PAGORA_CP932("選択肢は２０個までです。\n２１個目の選択肢はＯＫを押すと削除されます。"));
    ListViewChange();
}

void TfrmSelectDlg::fillRecord(TCmdSelectDlg& record) {
    record.Items.fill({});
    record.Targets.fill({});
    std::size_t slot = 0;
    for (int position = 0; position < ListView_->topLevelItemCount(); ++position) {
        QTreeWidgetItem& row = *ListView_->topLevelItem(position);
        const std::string page = pageOf(row);
        if (page.empty())
            continue;
        const auto refuse = [&] {
            ListView_->setCurrentItem(&row);
            return edtMessage_;
        };
        std::string message;
        try {
            message = messageOf(row);
        } catch (const EncodingError& error) {
            throw FieldError(errorText(error), refuse());
        }
        if (!context_.flags.CheckText(message) || !context_.syntax.CheckName(message))
            throw FieldError(refuse());
        record.Items[slot] = std::move(message);
        record.Targets[slot] = "$" + page + "$";
        ++slot;
    }
    record.Option.Win = chosenWindow(*cmbSelectWindow_, record.Option.Win);
    record.Option.Size = chosenFontSize(*cmbFontSize_, record.Option.Size);
    record.Option.Color = boxColor(*edtFontColor_);
}

QTreeWidgetItem* TfrmSelectDlg::selectedRow() const {
    return ListView_->selectedItems().value(0, nullptr);
}

QTreeWidgetItem* TfrmSelectDlg::newRow(int position, const std::string& message,
                                       const std::string& page) {
    const QSignalBlocker quiet(ListView_);
    auto* row = new QTreeWidgetItem;
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    row->setText(kMessageColumn, qtText(message));
    row->setData(kMessageColumn, Qt::UserRole, nameData(message));
    setPage(*row, page);
    ListView_->insertTopLevelItem(position, row);
    return row;
}

std::string TfrmSelectDlg::firstPage() const {
    return pageNames_.empty() ? std::string() : pageNames_.front();
}

void TfrmSelectDlg::btnAddClick() {
    if (ListView_->topLevelItemCount() >= kMaxChoices)
        return;
    ListView_->setCurrentItem(
        newRow(ListView_->topLevelItemCount(), PAGORA_CP932("メッセージ項目"), firstPage()));
}

void TfrmSelectDlg::btnInsertClick() {
    QTreeWidgetItem* selected = selectedRow();
    if (ListView_->topLevelItemCount() >= kMaxChoices || selected == nullptr)
        return;
    ListView_->setCurrentItem(
        newRow(ListView_->indexOfTopLevelItem(selected), std::string(), firstPage()));
}

void TfrmSelectDlg::btnDeleteClick() {
    delete selectedRow();
    ListViewChange();
}

// The selected row's message and page in their controls, which change
// only that row; without a selection they are empty and disabled.
void TfrmSelectDlg::ListViewChange() {
    const QTreeWidgetItem* row = selectedRow();
    syncing_ = true;
    edtMessage_->setText(row != nullptr ? row->text(kMessageColumn) : QString());
    cmbPageList_->setCurrentIndex(
        row != nullptr ? cmbPageList_->findData(row->data(kPageColumn, Qt::UserRole)) : -1);
    syncing_ = false;
    edtMessage_->setEnabled(row != nullptr);
    cmbPageList_->setEnabled(row != nullptr);
    btnInsert_->setEnabled(row != nullptr);
    btnDelete_->setEnabled(row != nullptr);
}

void TfrmSelectDlg::ListViewEdited(QTreeWidgetItem* row, int column) {
    if (syncing_ || row != selectedRow() || column != kMessageColumn)
        return;
    syncing_ = true;
    edtMessage_->setText(row->text(kMessageColumn));
    syncing_ = false;
}

void TfrmSelectDlg::edtMessageChange() {
    QTreeWidgetItem* row = selectedRow();
    if (syncing_ || row == nullptr)
        return;
    syncing_ = true;
    row->setText(kMessageColumn, edtMessage_->text());
    syncing_ = false;
}

void TfrmSelectDlg::cmbPageListChange() {
    QTreeWidgetItem* row = selectedRow();
    if (syncing_ || row == nullptr || cmbPageList_->currentIndex() < 0)
        return;
    setPage(*row, chosenName(*cmbPageList_));
}

void TfrmSelectDlg::btnColorSetClick() {
    chooseBoxColor(*edtFontColor_, context_.prompter());
}

// The choices' messages as the preview's lines.
std::string TfrmSelectDlg::sampleText() const {
    std::string text;
    for (int position = 0; position < ListView_->topLevelItemCount(); ++position) {
        if (position > 0)
            text += '#';
        text += messageOf(*ListView_->topLevelItem(position));
    }
    return text;
}

void TfrmSelectDlg::btnPositionClick() {
    TWindowLayoutEditor& editor = context_.layoutEditor;
    try {
        editor.SampleText = sampleText();
    } catch (const EncodingError& error) {
        services_.showErrorBox(errorText(error));
        return;
    }
    editor.FontColor = boxColor(*edtFontColor_);
    TOptParam& option = record_.Option;
    editor.Mode = TWindowLayoutEditor::kTextMode;
    editor.AreaMode = false;
    editor.WindowNo = chosenWindow(*cmbSelectWindow_, option.Win);
    editor.FontSize = previewFontSize(*cmbFontSize_);
    giveFrame(editor, option);
    if (!editor.Execute())
        return;
    takeFrame(editor, option);
    showBoxColor(*edtFontColor_, editor.FontColor);
    if (editor.FontSize != previewFontSize(*cmbFontSize_))
        cmbFontSize_->setEditText(QString::number(editor.FontSize));
}

} // namespace pagora
