#pragma once

#include <QComboBox>
#include <QPointer>
#include <QWidget>

namespace pagora {

class NumberBox;

// The on-screen number pad: ten digit buttons and "ＣＬＥＡＲ" in a borderless
// window that opens below a number box when the box drops down. One pad
// serves every number box of the program's run; it hides itself when the
// user clicks elsewhere.
class TfrmValueEdit : public QWidget {
    Q_OBJECT

public:
    explicit TfrmValueEdit(QWidget* parent = nullptr);

    // Opens the pad with its top-left corner at box's bottom-left corner and
    // makes box the target of its buttons.
    void showBelow(NumberBox& box);
    NumberBox* target() const { return target_; }

    // The buttons: a digit is appended to the target's number, "ＣＬＥＡＲ"
    // sets it to 0.
    void digitClick(int digit);
    void btnClearClick();

private:
    QPointer<NumberBox> target_;
};

// An editable combo box that holds a whole number. Whatever is typed is
// rewritten at once as the number it reads as (0 when it is not one), so
// leading zeros and stray characters vanish; a lone "-" is let stand while a
// negative number is being typed. Dropping the box down opens the number pad.
class NumberBox : public QComboBox {
    Q_OBJECT

public:
    NumberBox(TfrmValueEdit& pad, QWidget* parent = nullptr);

    // The number shown (0 for a lone "-" or an empty text).
    int value() const;
    void setValue(int value);
    // Lets an empty text stand, for a box whose emptiness means "no value yet".
    void setEmptyAllowed(bool allowed) { emptyAllowed_ = allowed; }

    void showPopup() override;

private:
    void normalise();

    TfrmValueEdit& pad_;
    bool normalising_ = false;
    bool emptyAllowed_ = false;
};

} // namespace pagora
