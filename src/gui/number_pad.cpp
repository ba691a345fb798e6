#include "gui/number_pad.h"

#include "gui/dialog_frame.h"

#include <QGridLayout>
#include <QPushButton>
#include <string>

namespace pagora {
namespace {

constexpr int kPadColumns = 3;

// The pad's buttons leave the focus in the number box.
QPushButton* makePadButton(const QString& caption, const char* name, QWidget* parent) {
    QPushButton* button = makeButton(caption, name, parent);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The text as the number it reads as: decimal digits with an optional sign
// and blanks around them; anything else (or a number too big) is 0.
int numberOf(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 10);
    return ok ? number : 0;
}

} // namespace

TfrmValueEdit::TfrmValueEdit(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TfrmValueEdit"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    static constexpr char16_t kFullWidthZero = u'０';
    for (int digit = 1; digit <= 10; ++digit) {
        const int value = digit % 10; // "０" comes last, under the others
        const std::string name = "btnValue" + std::to_string(value);
        QPushButton* button =
            makePadButton(QString(QChar(kFullWidthZero + value)), name.c_str(), this);
        layout->addWidget(button, (digit - 1) / kPadColumns, (digit - 1) % kPadColumns);
        connect(button, &QPushButton::clicked, this, [this, value] { digitClick(value); });
    }
    QPushButton* clear = makePadButton(QStringLiteral("ＣＬＥＡＲ"), "btnClear", this);
    layout->addWidget(clear, 3, 1, 1, 2);
    connect(clear, &QPushButton::clicked, this, &TfrmValueEdit::btnClearClick);
}

void TfrmValueEdit::showBelow(NumberBox& box) {
    target_ = &box;
    move(box.mapToGlobal(QPoint(0, box.height())));
    show();
}

void TfrmValueEdit::digitClick(int digit) {
    if (target_)
        target_->setEditText(target_->currentText() + QString::number(digit));
}

void TfrmValueEdit::btnClearClick() {
    if (target_)
        target_->setValue(0);
}

NumberBox::NumberBox(TfrmValueEdit& pad, QWidget* parent)
    : QComboBox(parent)
    , pad_(pad) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setValue(0);
    connect(this, &QComboBox::editTextChanged, this, [this] { normalise(); });
}

int NumberBox::value() const {
    return numberOf(currentText());
}

void NumberBox::setValue(int value) {
    setEditText(QString::number(value));
}

void NumberBox::showPopup() {
    pad_.showBelow(*this);
}

void NumberBox::normalise() {
    if (normalising_)
        return;
    const QString text = currentText();
    if (text == QStringLiteral("-") || (emptyAllowed_ && text.isEmpty()))
        return;
    const QString normal = QString::number(numberOf(text));
    if (normal == text)
        return;
    normalising_ = true;
    setEditText(normal);
    normalising_ = false;
}

} // namespace pagora
