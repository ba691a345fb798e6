#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace pagora {

// A line of the comic: its book, page and index from 0 (texts CP932).
struct PlayPlace {
    std::string book;
    std::string page;
    int line = 0;
    bool operator==(const PlayPlace&) const = default;
};

// A rectangle of a window in its own pixels, edges as the "/POS:" option
// gives them.
struct PlayRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const PlayRect&) const = default;
};

// A time limit of a waiting command: none when seconds is 0.
struct TimeLimit {
    int seconds = 0;
    bool gauge = false; // "/TIME:" shows the time running out, "/TIMEHIDE:" does not
    bool operator==(const TimeLimit&) const = default;
};

// A clickable area of a window.
struct PlayArea {
    PlayRect rect;
    std::string book; // where a click leads
    std::string page;
    std::string imageFile; // empty for none
    int imageDivision = 0; // parts stacked top to bottom: normal, mouse over, selected
    bool clearOnSelect = false;
    bool cursorChange = true;
    bool callSubroutine = false;
    bool operator==(const PlayArea&) const = default;
};

// What the session hands the front end, one at a time. Texts are CP932.
struct MessageShown {
    int window = 0;
    std::string text; // variables expanded; "#" breaks lines; inline tags kept
    int mode = 1;     // index into kMsgDlgModes and kModeMeanings
    int speed = 0;    // index into kMsgDlgSpeeds and kSpeedMeanings
    bool drawNormal = false;
    bool keyWaitEachLine = false;
    bool keyWaitAfter = false;
    bool clickAbleEnabled = false; // areas answer the key wait after the message
    PlayRect pos;                  // all 0 when the line gives none: the whole window
    int fontSize = 0;              // 0: the window's own
    std::uint32_t color = 0xFFFFFF;
    TimeLimit limit;
};

struct PictureShown {
    int window = 0;
    std::string file; // relative to the data folder, as the line names it
    PlayRect pos;
    int viewLeft = 0;
    int viewTop = 0;
    bool fitToPos = false;
    bool useTransparent = false;
    bool autoTransparentColor = false; // the bottom-left pixel's colour
    std::uint32_t transparentColor = 0xFFFFFF;
    bool halfTransparent = false;
    int effect = 0; // index into kGraphicEffects and kEffectMeanings
    bool showAtOnce = true;
};

struct MusicStarted {
    std::string file;
    int loopCount = 0; // 0: until stopped
};

struct MusicStopped {};

struct SoundStarted {
    std::string file;
    bool waitEnd = true;
};

struct TimePassing {
    int milliseconds = 0;
};

struct ClickWaited {
    bool areasOnly = false;
    TimeLimit limit;
};

struct Choice {
    std::string text; // variables expanded
    std::string page; // of the line's book
};

struct ChoicesOffered {
    int window = 2;
    std::vector<Choice> choices;
    PlayRect pos;
    int fontSize = 0;
    std::uint32_t color = 0xFFFFFF;
    TimeLimit limit;
};

struct TextAsked {
    std::string title;
    std::string prompt;
    std::string variable; // the string variable that receives the text
    TimeLimit limit;
};

struct WindowShown {
    int window = 0;
    bool shown = true;
};

struct AreaAdded {
    int window = 0;
    PlayArea area;
};

struct AreasCleared {
    int window = 0;
};

// A click chose an area: the front end shows its selected state before the
// jump or call that follows.
struct AreaSelected {
    int window = 0;
    PlayArea area;
};

struct MenuCalled {
    std::string operation; // "DataSave", "Exit" … as the line names it
};

struct SaveNameSet {
    std::string name; // variables expanded
};

// What a save or load sub-command kept or brought back.
enum class DataScope { All, Value, String };
struct DataSaved {
    DataScope scope = DataScope::All;
    std::string name; // the save block, or the variable
};
struct DataLoaded {
    DataScope scope = DataScope::All;
    std::string name;
    bool found = false; // false: nothing was saved under that name; nothing changed
};

enum class FaultLevel { Warning, Fault };
struct PlayFault {
    FaultLevel level = FaultLevel::Fault;
    std::string message; // CP932, as the editor would show it
};

enum class EndReason { PageEnd, Fault };
struct PlayEnded {
    EndReason reason = EndReason::PageEnd;
};

using PlayDetail = std::variant<MessageShown, PictureShown, MusicStarted, MusicStopped,
                                SoundStarted, TimePassing, ClickWaited, ChoicesOffered, TextAsked,
                                WindowShown, AreaAdded, AreasCleared, AreaSelected, MenuCalled,
                                SaveNameSet, DataSaved, DataLoaded, PlayFault, PlayEnded>;

// What must happen before the session goes on: nothing, time passing (the
// front end calls next() when the wait or the sound is over), or an answer
// of the reader.
enum class PlayWait { None, Time, Reader };

struct PlayEvent {
    PlayPlace place;
    PlayWait wait = PlayWait::None;
    PlayDetail detail;
};

// The reader's answer to a waiting event. Points are pixels of the main
// window; choices count from 0; texts are CP932.
struct PlayAnswer {
    enum class Kind { Key, Click, Choice, Text, Timeout };
    Kind kind = Kind::Key;
    int x = 0;
    int y = 0;
    int choice = 0;
    std::string text;

    static PlayAnswer key() { return {}; }
    static PlayAnswer click(int x, int y) { return {Kind::Click, x, y, 0, {}}; }
    static PlayAnswer choose(int index) { return {Kind::Choice, 0, 0, index, {}}; }
    static PlayAnswer typed(std::string text) { return {Kind::Text, 0, 0, 0, std::move(text)}; }
    static PlayAnswer timeout() { return {Kind::Timeout, 0, 0, 0, {}}; }
};

} // namespace pagora
