#include "settings/flag_set_dialog.h"

#include "document/comic_file.h"
#include "gui/dialog_context.h"
#include "gui/help_topics.h"
#include "gui/number_pad.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace pagora {
namespace {

constexpr int kCountMargin = 6;

QString linesText(int lines) {
    return lines == 0 ? QStringLiteral("未使用") : QStringLiteral("%1行").arg(lines);
}

QString linesTip(int lines) {
    return lines == 0 ? QStringLiteral("この変数を使っているコマンドはありません")
                      : QStringLiteral("%1 行のコマンドがこの変数を使っています").arg(lines);
}

// Draws an item's name, and at the row's right end how many command lines use
// it; a name too long for both is shortened.
class LineCountDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString count = linesText(index.data(TfrmFlagSet::kLinesRole).toInt());
        const int countWidth = item.fontMetrics.horizontalAdvance(count) + 2 * kCountMargin;
        item.text = item.fontMetrics.elidedText(item.text, Qt::ElideRight,
                                                std::max(item.rect.width() - countWidth, 0));
        const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->drawText(option.rect.adjusted(0, 0, -kCountMargin, 0),
                          Qt::AlignRight | Qt::AlignVCenter, count);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString count = linesText(index.data(TfrmFlagSet::kLinesRole).toInt());
        size.rwidth() += option.fontMetrics.horizontalAdvance(count) + 2 * kCountMargin;
        return size;
    }
};

QByteArray nameBytes(const std::string& name) {
    return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

std::string nameOf(const QListWidgetItem& item) {
    return item.data(Qt::UserRole).toByteArray().toStdString();
}

} // namespace

TfrmFlagSet::TfrmFlagSet(DialogContext& context, VariableEdits edits, QWidget* parent)
    : DialogFrame(context.services,
                  {"TfrmFlagSet", QStringLiteral("変数の設定"), kFlagSetHelpTopic, QString()},
                  parent)
    , context_(context)
    , edits_(std::move(edits)) {
    cmbValueFlagInit = new NumberBox(context.numberPad, this);
    cmbValueFlagInit->setObjectName(QStringLiteral("cmbValueFlagInit"));
    cmbValueFlagInit->setEmptyAllowed(true);
    numeric_.value = cmbValueFlagInit;
    edtStringFlagInit = new QLineEdit(this);
    edtStringFlagInit->setObjectName(QStringLiteral("edtStringFlagInit"));
    string_.value = edtStringFlagInit;

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl"));
    pages->addTab(buildTab(numeric_, "ValueFlag"), QStringLiteral("数値変数の設定"));
    pages->addTab(buildTab(string_, "StringFlag"), QStringLiteral("文字列変数の設定"));
    setBody(pages);

    // Enter adds or changes; the dialog closes only by its button.
    okButton().setText(QStringLiteral("閉じる"));
    okButton().setDefault(false);
    connect(cmbValueFlagInit->lineEdit(), &QLineEdit::returnPressed, this,
            &TfrmFlagSet::btnValueFlagAddClick);
    connect(edtStringFlagInit, &QLineEdit::returnPressed, this,
            &TfrmFlagSet::btnStringFlagAddClick);
}

QWidget* TfrmFlagSet::buildTab(Tab& tab, const char* suffix) {
    const std::string name(suffix);
    auto* page = new QWidget;
    page->setObjectName(QString::fromStdString("tab" + name));
    tab.list = new QListWidget(page);
    tab.list->setObjectName(QString::fromStdString("lst" + name));
    tab.list->setItemDelegate(new LineCountDelegate(tab.list));
    tab.list->setMinimumWidth(220);
    tab.name = new QLineEdit(page);
    tab.name->setObjectName(QString::fromStdString("edt" + name));
    tab.add = makeButton(QStringLiteral("<< 追加/変更"), ("btn" + name + "Add").c_str(), page);
    tab.remove = makeButton(QStringLiteral("削除"), ("btn" + name + "Delete").c_str(), page);
    tab.rename = makeButton(QStringLiteral("名前の変更"), ("btn" + name + "Rename").c_str(), page);
    tab.references =
        makeButton(QStringLiteral("この変数への参照"), ("btn" + name + "References").c_str(), page);
    tab.value->setParent(page);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("変数（右は使っているコマンドの行数）"), page));
    listColumn->addWidget(tab.list, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(tab.add);
    buttons->addWidget(tab.remove);
    buttons->addSpacing(12);
    buttons->addWidget(tab.rename);
    buttons->addWidget(tab.references);
    buttons->addStretch(1);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("変数名"), page), 0, 0);
    fields->addWidget(tab.name, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("初期値"), page), 1, 0);
    fields->addWidget(tab.value, 1, 1);
    fields->setColumnMinimumWidth(1, 160);
    fields->setRowStretch(2, 1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);
    layout->addLayout(fields);

    const auto show = [this, &tab] {
        showEntry(tab);
    };
    connect(tab.list, &QListWidget::itemClicked, this, show);
    connect(tab.list, &QListWidget::currentItemChanged, this, show);
    connect(tab.name, &QLineEdit::returnPressed, this, [this, &tab] { addVariable(tab); });
    connect(tab.add, &QPushButton::clicked, this, [this, &tab] { addVariable(tab); });
    connect(tab.remove, &QPushButton::clicked, this, [this, &tab] { deleteVariable(tab); });
    connect(tab.rename, &QPushButton::clicked, this, [this, &tab] { renameVariable(tab); });
    connect(tab.references, &QPushButton::clicked, this, [this, &tab] { showReferences(tab); });
    return page;
}

void TfrmFlagSet::run() {
    load();
    runModal();
}

void TfrmFlagSet::load() {
    counts_ = countReferences(context_.comic);
    fillList(numeric_, {});
    fillList(string_, {});
}

void TfrmFlagSet::fillList(const Tab& tab, const std::string& current) {
    const QSignalBlocker quiet(tab.list);
    tab.list->clear();
    for (const std::string& name : context_.comic.GetHeaderKeys(variableBlock(tab.kind))) {
        auto* item = new QListWidgetItem(qtText(name), tab.list);
        const int lines = counts_.lines(nameKindOf(tab.kind), name);
        item->setData(Qt::UserRole, nameBytes(name));
        item->setData(kLinesRole, lines);
        item->setToolTip(linesTip(lines));
        if (name == current && tab.list->currentItem() == nullptr)
            tab.list->setCurrentItem(item);
    }
}

void TfrmFlagSet::lstValueFlagClick() {
    showEntry(numeric_);
}

void TfrmFlagSet::lstStringFlagClick() {
    showEntry(string_);
}

void TfrmFlagSet::showEntry(const Tab& tab) {
    const QListWidgetItem* item = tab.list->currentItem();
    if (item == nullptr)
        return;
    const std::string name = nameOf(*item);
    tab.name->setText(item->text());
    const QString value = qtText(context_.comic.ReadHeader(variableBlock(tab.kind), name, ""));
    if (tab.kind == VariableKind::Numeric)
        cmbValueFlagInit->setEditText(value);
    else
        edtStringFlagInit->setText(value);
}

void TfrmFlagSet::btnValueFlagAddClick() {
    addVariable(numeric_);
}

void TfrmFlagSet::btnStringFlagAddClick() {
    addVariable(string_);
}

void TfrmFlagSet::btnValueFlagDeleteClick() {
    deleteVariable(numeric_);
}

void TfrmFlagSet::btnStringFlagDeleteClick() {
    deleteVariable(string_);
}

void TfrmFlagSet::btnValueFlagRenameClick() {
    renameVariable(numeric_);
}

void TfrmFlagSet::btnStringFlagRenameClick() {
    renameVariable(string_);
}

void TfrmFlagSet::btnValueFlagReferencesClick() {
    showReferences(numeric_);
}

void TfrmFlagSet::btnStringFlagReferencesClick() {
    showReferences(string_);
}

void TfrmFlagSet::addVariable(Tab& tab) {
    attempt([&] {
        Prompter& prompter = context_.prompter();
        const std::string name = fieldText(*tab.name);
        if (name.empty()) {
            prompter.warning(PAGORA_CP932("変数名を入力して下さい"));
            throw FieldError(tab.name);
        }
        if (!context_.syntax.CheckName(name))
            throw FieldError(tab.name);
        const std::string value = valueText(tab);
        if (tab.kind == VariableKind::Numeric && value.empty()) {
            prompter.warning(PAGORA_CP932("変数の初期値が指定されていません"));
            throw FieldError(tab.value);
        }
        showVerdict(tab, edits_.declare(tab.kind, name, value), name);
    });
}

// The numeric value as the number it reads as (a lone "-" is 0); empty while
// none is typed.
std::string TfrmFlagSet::valueText(const Tab& tab) const {
    if (tab.kind == VariableKind::String)
        return fieldText(*edtStringFlagInit);
    if (cmbValueFlagInit->currentText().isEmpty())
        return {};
    return std::to_string(cmbValueFlagInit->value());
}

std::string TfrmFlagSet::declaredName(const Tab& tab) const {
    const std::string name = fieldText(*tab.name);
    const std::vector<std::string> declared = context_.comic.GetHeaderKeys(variableBlock(tab.kind));
    return std::find(declared.begin(), declared.end(), name) != declared.end() ? name
                                                                               : std::string();
}

void TfrmFlagSet::deleteVariable(Tab& tab) {
    attempt([&] {
        const std::string name = declaredName(tab);
        if (name.empty())
            return;
        const int lines = counts_.lines(nameKindOf(tab.kind), name);
        const std::string uses = lines == 0
                                     ? std::string()
                                     : PAGORA_CP932("この変数を使っている行が ") +
                                           std::to_string(lines) + PAGORA_CP932(" 行あります\n");
        const std::string& kind = tab.kind == VariableKind::Numeric ? PAGORA_CP932("数値変数「")
                                                                    : PAGORA_CP932("文字列変数「");
        const std::string question = uses +
                                     PAGORA_CP932("パゴラは変数削除の安全性をチェックしません\n") +
                                     kind + name + PAGORA_CP932("」を削除してもよろしいですか？");
        if (context_.prompter().message(MessageKind::Confirmation, question, Buttons::YesNo) ==
            Answer::Yes)
            showVerdict(tab, edits_.remove(tab.kind, name), name);
    });
}

void TfrmFlagSet::renameVariable(Tab& tab) {
    attempt([&] {
        const std::string name = declaredName(tab);
        if (name.empty() || !edits_.rename)
            return;
        const std::optional<std::string> newName = context_.prompter().inputText(
            PAGORA_CP932("変数名の変更"), PAGORA_CP932("新しい変数名を入力して下さい"), name);
        if (!newName)
            return;
        const EditVerdict verdict = edits_.rename(tab.kind, name, *newName);
        showVerdict(tab, verdict, *newName);
        if (verdict.done()) {
            tab.name->setText(qtText(*newName));
            showEntry(tab);
        }
    });
}

void TfrmFlagSet::showReferences(Tab& tab) {
    const std::string name = declaredName(tab);
    if (!name.empty() && edits_.showReferences)
        edits_.showReferences(tab.kind, name);
}

void TfrmFlagSet::showVerdict(const Tab& tab, const EditVerdict& verdict, const std::string& name) {
    if (verdict.refusal) {
        context_.prompter().message(verdict.refusal->kind, verdict.refusal->text, Buttons::Ok);
        throw FieldError(tab.name);
    }
    if (!verdict.done())
        return;
    counts_ = countReferences(context_.comic);
    fillList(tab, name);
}

} // namespace pagora
