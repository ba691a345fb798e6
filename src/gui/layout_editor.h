#pragma once

#include <cstdint>
#include <string>

namespace pagora {

// The one layout editor of the run, as the command dialogs use it: a dialog
// sets the public fields, calls Execute, and reads the fields back. The
// window settings folder implements it; tests record what they were given.
class TWindowLayoutEditor {
public:
    // The modes of Mode.
    static constexpr int kPictureMode = 2;
    static constexpr int kTextMode = 3;
    static constexpr int kColorPickMode = 5; // while a transparent colour is picked

    virtual ~TWindowLayoutEditor() = default;

    // Shows the editor modally over the target window's preview. False when
    // it did not show (a missing picture, after telling the user); the
    // fields are then as they were.
    virtual bool Execute() = 0;
    // A command showing a picture was confirmed: the last preview becomes the
    // background of the previews that follow.
    virtual void ImageConfirmed() = 0;

    int Mode = 0;
    int WindowNo = 0;       // 0 main, 1 message, 2 select, 3 to 5 user windows
    std::string FileName;   // CP932, a bare name in the data folder
    std::string SampleText; // CP932, lines joined with "#"
    int PosLeft = 0;
    int PosRight = 639;
    int PosTop = 0;
    int PosBottom = 479;
    int ViewTop = 0;
    int ViewLeft = 0;
    bool UseTransparent = false;
    bool AutoTransparentColor = false;
    std::uint32_t TransparentColor = 0; // 0x00BBGGRR
    bool FitToPos = false;
    bool HalfTransparent = false;
    int FontSize = 12;
    std::uint32_t FontColor = 0; // 0x00BBGGRR
    int ImageDivision = 0;       // 0, or the states stacked in the picture
    bool AreaMode = false;
    int Step = 1; // 1, 2, 5 or 10 pixels

protected:
    TWindowLayoutEditor() = default;
    TWindowLayoutEditor(const TWindowLayoutEditor&) = default;
    TWindowLayoutEditor& operator=(const TWindowLayoutEditor&) = default;
};

} // namespace pagora
