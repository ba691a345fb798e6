#include "commands/message_memo.h"

#include "commands/font_setting_dialog.h"
#include "commands/text_popup.h"
#include "commands/variable_chooser.h"
#include "document/cmd_ctrl.h"
#include "gui/dialog_context.h"
#include "gui/dialog_frame.h"
#include "gui/qt_text.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace pagora {

MessageMemo::MessageMemo(DialogContext& context, const char* memoName, QWidget* parent)
    : QWidget(parent)
    , context_(context)
    , memo_(new QPlainTextEdit(this))
    , buttons_(new QWidget(this)) {
    memo_->setObjectName(QString::fromLatin1(memoName));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* row = new QHBoxLayout(buttons_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    connect(addButton("spdbtnCut", QStringLiteral("切"), QStringLiteral("切り取り")),
            &QToolButton::clicked, memo_, &QPlainTextEdit::cut);
    connect(addButton("spdbtnCopy", QStringLiteral("写"), QStringLiteral("コピー")),
            &QToolButton::clicked, memo_, &QPlainTextEdit::copy);
    connect(addButton("spdbtnPaste", QStringLiteral("貼"), QStringLiteral("貼り付け")),
            &QToolButton::clicked, memo_, &QPlainTextEdit::paste);
    row->addSpacing(6);
    connect(addButton("spdbtnValueFlag", QStringLiteral("%"), QStringLiteral("数値変数を埋め込む")),
            &QToolButton::clicked, this, [this] { embedVariable(true); });
    connect(
        addButton("spdbtnStringFlag", QStringLiteral("&&"), QStringLiteral("文字列変数を埋め込む")),
        &QToolButton::clicked, this, [this] { embedVariable(false); });
    connect(addButton("spdbtnColor", QStringLiteral("色"), QStringLiteral("フォントカラー変更")),
            &QToolButton::clicked, this, &MessageMemo::spdbtnColorClick);
    row->addSpacing(6);
    connect(addButton("spdbtnFontNormal", QStringLiteral("N"), QStringLiteral("通常の書体")),
            &QToolButton::clicked, this, [this] { insertBefore(QStringLiteral("<N>")); });
    connect(addButton("spdbtnFontBold", QStringLiteral("B"), QStringLiteral("太字")),
            &QToolButton::clicked, this, [this] { wrapStyle(QStringLiteral("<B>")); });
    connect(addButton("spdbtnFontItalic", QStringLiteral("I"), QStringLiteral("斜体")),
            &QToolButton::clicked, this, [this] { wrapStyle(QStringLiteral("<I>")); });
    connect(addButton("spdbtnFontSize", QStringLiteral("±"), QStringLiteral("フォントサイズ変更")),
            &QToolButton::clicked, this, &MessageMemo::spdbtnFontSizeClick);
    row->addSpacing(6);
    connect(addButton("spdbtnWaitTime", QStringLiteral("W"), QStringLiteral("ウェイト設定")),
            &QToolButton::clicked, this, &MessageMemo::spdbtnWaitTimeClick);
    connect(addButton("spdbtnKey", QStringLiteral("KEY"), QStringLiteral("キー入力待ち")),
            &QToolButton::clicked, this, [this] { insertBefore(QStringLiteral("<KEY>")); });
    connect(addButton("spdbtnFast", QStringLiteral("速"), QStringLiteral("速")),
            &QToolButton::clicked, this, [this] { insertBefore(QStringLiteral("<FAST>")); });
    connect(addButton("spdbtnNormal", QStringLiteral("普"), QStringLiteral("普")),
            &QToolButton::clicked, this, [this] { insertBefore(QStringLiteral("<NORMAL>")); });
    connect(addButton("spdbtnSlow", QStringLiteral("遅"), QStringLiteral("遅")),
            &QToolButton::clicked, this, [this] { insertBefore(QStringLiteral("<SLOW>")); });
    row->addStretch(1);

    popup_ = makeTextPopup(*this, {[this] { memo_->cut(); }, [this] { memo_->copy(); },
                                   [this] { memo_->paste(); },
                                   [this](bool numeric) {
                                       embedVariable(numeric);
                                   }});
    connect(memo_, &QPlainTextEdit::customContextMenuRequested, this, &MessageMemo::showPopup);
    connect(memo_, &QPlainTextEdit::textChanged, this, &MessageMemo::textChanged);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(buttons_);
    layout->addWidget(memo_, 1);
}

QToolButton* MessageMemo::addButton(const char* name, const QString& text, const QString& hint) {
    auto* button = new QToolButton(buttons_);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus); // the memo keeps its selection
    buttons_->layout()->addWidget(button);
    return button;
}

void MessageMemo::showPopup(const QPoint& position) {
    popup_->popup(memo_->viewport()->mapToGlobal(position));
}

void MessageMemo::setMessageText(std::string_view cp932) {
    memo_->setPlainText(qtText(cp932).replace(QLatin1Char('#'), QLatin1Char('\n')));
}

std::string MessageMemo::messageText() const {
    QStringList lines = memo_->toPlainText().split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.isEmpty())
            line = QStringLiteral(" ");
    return readField(*memo_, [&] { return cp932Text(lines.join(QLatin1Char('#'))); });
}

QString MessageMemo::previewText() const {
    return memo_->toPlainText().replace(QLatin1Char('\n'), QLatin1Char('#'));
}

void MessageMemo::insertBefore(const QString& tag) {
    QTextCursor cursor = memo_->textCursor();
    cursor.insertText(tag + cursor.selectedText());
    memo_->setTextCursor(cursor);
}

void MessageMemo::wrapStyle(const QString& tag) {
    QTextCursor cursor = memo_->textCursor();
    const QString selected = cursor.selectedText();
    cursor.insertText(selected.isEmpty() ? tag : tag + selected + QStringLiteral("<N>"));
    memo_->setTextCursor(cursor);
}

// A change of n points: "<+n>" before the selection and "<-n>" after it (the
// other way round for a negative n); the opening tag alone without one.
void MessageMemo::changeFontSize(int points) {
    if (points == 0)
        return;
    const auto tag = [](int n) {
        return n > 0 ? QStringLiteral("<+%1>").arg(n) : QStringLiteral("<%1>").arg(n);
    };
    QTextCursor cursor = memo_->textCursor();
    const QString selected = cursor.selectedText();
    cursor.insertText(selected.isEmpty() ? tag(points) : tag(points) + selected + tag(-points));
    memo_->setTextCursor(cursor);
}

void MessageMemo::embedVariable(bool numeric) {
    const std::optional<QString> embedding =
        chooseEmbedding(context_, numeric ? VariableType::Numeric : VariableType::String, window());
    if (!embedding)
        return;
    QTextCursor cursor = memo_->textCursor();
    cursor.insertText(*embedding);
    memo_->setTextCursor(cursor);
}

QPoint MessageMemo::belowButton(const char* name) const {
    const auto* button = buttons_->findChild<QToolButton*>(QString::fromLatin1(name));
    return button->mapToGlobal(QPoint(0, button->height()));
}

void MessageMemo::spdbtnFontSizeClick() {
    TfrmFontSetting dialog(context_, TfrmFontSetting::FontSize, window());
    changeFontSize(dialog.run(belowButton("spdbtnFontSize")));
}

void MessageMemo::spdbtnWaitTimeClick() {
    TfrmFontSetting dialog(context_, TfrmFontSetting::WaitTime, window());
    if (const int tenths = dialog.run(belowButton("spdbtnWaitTime")); tenths > 0)
        insertBefore(QStringLiteral("<W%1>").arg(tenths));
}

void MessageMemo::spdbtnColorClick() {
    if (const std::optional<std::uint32_t> color = context_.prompter().chooseColor(lastColor_)) {
        lastColor_ = *color;
        insertBefore(QStringLiteral("<") + qtText(TCmdCtrl::ColorText(*color)) +
                     QStringLiteral(">"));
    }
}

} // namespace pagora
