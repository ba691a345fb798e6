#pragma once

#include "gui/dialog_frame.h"

class QLabel;
class QPoint;
class QSlider;

namespace pagora {

struct DialogContext;

// The small slider dialog of the message tags: in font size mode it picks a
// change of -10 to +10 points, in wait mode a pause of 0 to 2 seconds in
// tenths. Controls: TrackBar, lblValue, btnOK, btnCancel.
class TfrmFontSetting : public DialogFrame {
    Q_OBJECT

public:
    enum Mode { FontSize = 1, WaitTime = 2 };

    TfrmFontSetting(DialogContext& context, Mode mode, QWidget* parent = nullptr);

    // The modal choice, with the window's top-left corner at position (screen
    // coordinates): the slider's value, 0 when cancelled.
    int run(const QPoint& position);

    // The label's text for a slider value: "+3", "-3", or "1.5s" in wait mode.
    static QString valueText(Mode mode, int value);
    int value() const;
    void setValue(int value);

private:
    void readControls() override {}
    void TrackBarChange();

    Mode mode_;
    QSlider* TrackBar;
    QLabel* lblValue;
};

} // namespace pagora
