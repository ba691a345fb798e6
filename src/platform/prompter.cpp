#include "platform/prompter.h"

namespace pagora {

Answer safeDefault(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::AbortIgnore:
        return Answer::Ignore;
    }
    return Answer::Ok;
}

} // namespace pagora
