#include "settings/pixel_box.h"

#include "platform/numbers.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>
#include <cstdint>

namespace pagora {

PixelBox::PixelBox(int minimum, int maximum, int fallback, QWidget* parent)
    : QAbstractSpinBox(parent)
    , minimum_(minimum)
    , maximum_(maximum)
    , fallback_(fallback) {
    setText(QString::number(fallback));
}

void PixelBox::setText(const QString& text) {
    lineEdit()->setText(text);
}

int PixelBox::value() const {
    return parseInt(text().toStdString()).value_or(fallback_);
}

void PixelBox::stepBy(int steps) {
    const std::int64_t next = static_cast<std::int64_t>(value()) + steps;
    setText(QString::number(std::clamp<std::int64_t>(next, minimum_, maximum_)));
    selectAll();
}

// Typing keeps to decimal whole numbers inside the range; an empty box is
// allowed (it stands for the fallback), and so is a lone minus sign on the
// way to a negative number.
QValidator::State PixelBox::validate(QString& input, int&) const {
    if (input.isEmpty())
        return QValidator::Acceptable;
    if (input == QStringLiteral("-"))
        return minimum_ < 0 ? QValidator::Intermediate : QValidator::Invalid;
    const qsizetype digitsFrom = input.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype i = digitsFrom; i < input.size(); ++i)
        if (!input[i].isDigit() || input[i].unicode() > '9')
            return QValidator::Invalid;
    bool ok = false;
    const int number = input.toInt(&ok);
    return ok && number >= minimum_ && number <= maximum_ ? QValidator::Acceptable
                                                          : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled PixelBox::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (value() < maximum_)
        enabled |= StepUpEnabled;
    if (value() > minimum_)
        enabled |= StepDownEnabled;
    return enabled;
}

// Room for the widest number of the range, as the number spin boxes have.
QSize PixelBox::sizeHint() const {
    ensurePolished();
    const QString widest = QString::number(std::min(minimum_, -maximum_));
    const int width = fontMetrics().horizontalAdvance(widest + QLatin1Char(' '));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option,
                                     QSize(width, lineEdit()->sizeHint().height()), this);
}

QSize PixelBox::minimumSizeHint() const {
    return sizeHint();
}

} // namespace pagora
