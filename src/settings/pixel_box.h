#pragma once

#include <QAbstractSpinBox>
#include <QString>

namespace pagora {

// A spin box for a size or position in pixels whose text may be left empty:
// the text is kept exactly as it stands, and a text that is not a number
// stands for the box's fallback. The user types whole numbers inside the
// box's range, and the arrows step inside it; a number outside the range
// that was put in by setText stays until the user changes it, and the arrows
// bring it to the nearest end of the range.
class PixelBox : public QAbstractSpinBox {
    Q_OBJECT

public:
    PixelBox(int minimum, int maximum, int fallback, QWidget* parent = nullptr);

    void setText(const QString& text);
    // The number the text reads as, or the fallback when it is not a number.
    int value() const;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& position) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int minimum_;
    int maximum_;
    int fallback_;
};

} // namespace pagora
