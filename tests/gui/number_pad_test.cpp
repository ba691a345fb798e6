#include "dialog_fixture.h"
#include "gui/number_pad.h"

#include <QLineEdit>
#include <QPushButton>

namespace pagora::test {
namespace {

class NumberPad : public ServicesTest {
protected:
    TfrmValueEdit pad;
    NumberBox box{pad};

    // Types over the whole text, one character at a time.
    void type(const QString& text) {
        box.lineEdit()->selectAll();
        for (const QChar c : text)
            box.lineEdit()->insert(QString(c));
    }
    void click(const char* button) {
        pad.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
};

TEST_F(NumberPad, TypedTextBecomesTheNumberItReadsAs) {
    type(QStringLiteral("007"));
    EXPECT_EQ(box.currentText(), QStringLiteral("7"));
    type(QStringLiteral("abc"));
    EXPECT_EQ(box.currentText(), QStringLiteral("0"));
    type(QStringLiteral("12x"));
    EXPECT_EQ(box.currentText(), QStringLiteral("0"));
    box.lineEdit()->setText(QStringLiteral("99999999999"));
    EXPECT_EQ(box.currentText(), QStringLiteral("0")) << "too big for a number";
    box.lineEdit()->setText(QStringLiteral(" 0012 "));
    EXPECT_EQ(box.currentText(), QStringLiteral("12"));
    type(QStringLiteral("-15"));
    EXPECT_EQ(box.currentText(), QStringLiteral("-15")) << "a negative number can be typed";
    EXPECT_EQ(box.value(), -15);
    type(QStringLiteral("-"));
    EXPECT_EQ(box.value(), 0);
    box.lineEdit()->clear();
    EXPECT_EQ(box.currentText(), QStringLiteral("0")) << "an empty box reads as 0";
    box.setEmptyAllowed(true);
    box.lineEdit()->clear();
    EXPECT_EQ(box.currentText(), QString()) << "unless it may stay empty";
    EXPECT_EQ(box.value(), 0);
}

TEST_F(NumberPad, DropsDownBelowItsBoxAndTypesIntoIt) {
    QWidget form;
    auto* other = new NumberBox(pad, &form);
    auto* shown = new NumberBox(pad, &form);
    shown->move(30, 40);
    form.show();
    shown->showPopup();
    EXPECT_TRUE(pad.isVisible());
    EXPECT_EQ(pad.target(), shown);
    EXPECT_EQ(pad.pos(), shown->mapToGlobal(QPoint(0, shown->height())));
    EXPECT_EQ(pad.findChild<QPushButton*>(QStringLiteral("btnValue0"))->text(),
              QStringLiteral("０"));

    click("btnValue4");
    click("btnValue2");
    EXPECT_EQ(shown->currentText(), QStringLiteral("42")) << "the first digit replaces the 0";
    EXPECT_EQ(other->currentText(), QStringLiteral("0"));
    click("btnClear");
    EXPECT_EQ(shown->currentText(), QStringLiteral("0"));

    other->showPopup();
    click("btnValue9");
    EXPECT_EQ(other->value(), 9) << "the pad follows the box that dropped down last";
    EXPECT_EQ(shown->value(), 0);
}

} // namespace
} // namespace pagora::test
