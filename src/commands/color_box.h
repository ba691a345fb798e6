#pragma once

#include <cstdint>

class QLineEdit;

namespace pagora {

class Prompter;

// A read-only box that shows a colour of the comic (0x00BBGGRR) as its colour
// text: a name such as "clRed", else "0x" and eight lower-case digits.
void showBoxColor(QLineEdit& box, std::uint32_t color);
// The box's colour. The box only ever holds a colour text showBoxColor wrote.
std::uint32_t boxColor(const QLineEdit& box);
// The colour button beside such a box: the chooser starts at the box's colour,
// and a chosen colour is shown in the box.
void chooseBoxColor(QLineEdit& box, Prompter& prompter);

} // namespace pagora
