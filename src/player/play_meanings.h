#pragma once

// What every command and option means when a comic plays: the one place where
// the player's readings are written down. The help page "プレビューの動作"
// (docs/help/preview.html) describes these same rows; change them together.

#include "document/cmd_records.h"
#include "player/play_event.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pagora {

// --- limits ---
inline constexpr int kMaxCallDepth = 256;
inline constexpr int kMaxLinesWithoutWait = 10000;

// --- kinds: which ones wait, and for what ---
enum class WaitRule {
    Never,
    KeyWaitAfter, // a message waits for a key when "コマンド実行後にキー入力を待つ" is on
    SoundEnd, // a sound waits for its end when "再生が終わるまで待つ" is on
    Time,     // a wait lets its time pass
    Reader,   // a click, a choice or a text
};

struct KindMeaning {
    CmdKind kind;
    WaitRule wait;
    // The options a waiting line obeys: "/TIME:" and "/TIMEHIDE:" end it
    // after their seconds. Other kinds ignore them.
    bool takesTimeLimit;
};

inline constexpr std::array<KindMeaning, 17> kKindMeanings{{
    {CmdKind::MsgDlg, WaitRule::KeyWaitAfter, true},
    {CmdKind::Graphic, WaitRule::Never, false},
    {CmdKind::Music, WaitRule::Never, false},
    {CmdKind::Sound, WaitRule::SoundEnd, false},
    {CmdKind::MusicStop, WaitRule::Never, false},
    {CmdKind::WaitTime, WaitRule::Time, false},
    {CmdKind::FlagCtrl, WaitRule::Never, false},
    {CmdKind::SelectDlg, WaitRule::Reader, true},
    {CmdKind::PageJump, WaitRule::Never, false},
    {CmdKind::MouseClick, WaitRule::Reader, true},
    {CmdKind::ValueCtrl, WaitRule::Never, false},
    {CmdKind::StringCtrl, WaitRule::Never, false},
    {CmdKind::ClickAble, WaitRule::Never, false},
    {CmdKind::ClickAbleClear, WaitRule::Never, false},
    {CmdKind::StrInput, WaitRule::Reader, true},
    {CmdKind::WindowShow, WaitRule::Never, false},
    {CmdKind::System, WaitRule::Never, false},
}};

const KindMeaning& kindMeaning(CmdKind kind);

// The time limit a line's options give, for kinds that take one: "/TIME:"
// with the gauge, else "/TIMEHIDE:" without it (as the line writes at most
// one of the two).
TimeLimit timeLimitOf(CmdKind kind, const TOptParam& option);

// --- conditions: "/IF:" on numbers, "/IFS:" on texts ---
// Operators 0 "==", 1 "<>", 2 ">=", 3 "<=", 4 ">>" (greater), 5 "<<" (less);
// "/IFS:" takes 0, 1 and 6 "<-" (the left text contains the right one).
bool compareNumbers(int op, int left, int right);
bool compareTexts(int op, std::string_view left, std::string_view right);

// --- variables ---
// FlagCtrl: 0 on = 1, 1 off = 0, 2 invert = 1 - (value != 0). Empty for
// other operations.
std::optional<int> flagOperation(int operation, int value);

// ValueCtrl on 32-bit integers that wrap around: 1 "+", 2 "-", 3 "×", 4 "÷"
// (truncated toward 0), 5 "mod" (the sign of the left side). Division and
// modulo by 0 give 0 (and the session warns once). Empty for operators
// outside 1 to 5.
struct ValueResult {
    int value = 0;
    bool divisionByZero = false;
};
std::optional<ValueResult> valueOperation(int op, int left, int right);

// --- messages ---
enum class Reveal { AllAtOnce, LineByLine, CharByChar };
enum class Overflow { Drop, WaitForKey, Scroll };
struct ModeMeaning {
    std::string_view keyword;
    Reveal reveal;
    Overflow overflow; // what happens when the text does not fit the window
};
inline constexpr std::array<ModeMeaning, 6> kModeMeanings{{
    {"None", Reveal::AllAtOnce, Overflow::Drop},
    {"KeyWait", Reveal::AllAtOnce, Overflow::WaitForKey},
    {"Line-KeyWait", Reveal::LineByLine, Overflow::WaitForKey},
    {"Line-Scroll", Reveal::LineByLine, Overflow::Scroll},
    {"Char-KeyWait", Reveal::CharByChar, Overflow::WaitForKey},
    {"Char-Scroll", Reveal::CharByChar, Overflow::Scroll},
}};
const ModeMeaning& modeMeaning(int mode); // outside the table: "KeyWait"

// The pause after each character or line as the text is revealed; the
// "<FAST>", "<NORMAL>" and "<SLOW>" tags switch between these rows.
struct SpeedMeaning {
    std::string_view keyword;
    int msPerChar;
    int msPerLine;
};
inline constexpr std::array<SpeedMeaning, 3> kSpeedMeanings{{
    {"Normal", 40, 400},
    {"Fast", 15, 150},
    {"Slow", 100, 1000},
}};
const SpeedMeaning& speedMeaning(int speed); // outside the table: "Normal"

// "通常描画" draws the text into the window's picture, where it stays until
// something is drawn over it; "一時的に表示" lays it over the window until the
// next message of that window, or until the window is hidden.
enum class TextLife { Temporary, Kept };
inline constexpr std::array<TextLife, 2> kDrawMeanings{TextLife::Temporary, TextLife::Kept};

// --- pictures ---
enum class Transition {
    Cut,
    Fade,
    CurtainLeft,  // revealed from the left edge to the right
    CurtainTop,   // from the top edge down
    RandomPanels, // square panels in a random order
    Mosaic,       // coarse blocks growing fine
    Wave,         // rows swaying and settling
    ZoomUp,       // growing from the centre
    ZoomDown,     // shrinking from larger than the area
    Blind,        // horizontal slats opening
    Box,          // a rectangle growing from the centre
};
struct EffectMeaning {
    std::string_view keyword;
    Transition transition;
    // The whole window takes part, or only the picture's own area ("【部分】").
    bool partial;
    int durationMs;
};
inline constexpr std::array<EffectMeaning, 19> kEffectMeanings{{
    {"None", Transition::Cut, false, 0},
    {"FadeIn", Transition::Fade, false, 500},
    {"LeftTo", Transition::CurtainLeft, false, 500},
    {"TopTo", Transition::CurtainTop, false, 500},
    {"RndPanel", Transition::RandomPanels, false, 600},
    {"Mosaic", Transition::Mosaic, false, 600},
    {"Wave", Transition::Wave, false, 600},
    {"ZoomUp", Transition::ZoomUp, false, 500},
    {"ZoomDown", Transition::ZoomDown, false, 500},
    {"Blind", Transition::Blind, false, 500},
    {"Square", Transition::Box, false, 500},
    {"FadeInSect", Transition::Fade, true, 500},
    {"LeftToSect", Transition::CurtainLeft, true, 500},
    {"TopToSect", Transition::CurtainTop, true, 500},
    {"RndPanelSect", Transition::RandomPanels, true, 600},
    {"MosaicSect", Transition::Mosaic, true, 600},
    {"WaveSect", Transition::Wave, true, 600},
    {"ZoomUpSect", Transition::ZoomUp, true, 500},
    {"ZoomDownSect", Transition::ZoomDown, true, 500},
}};
// An effect number outside the table shows the picture at once.
const EffectMeaning& effectMeaning(int effect);

// "すぐに画面へ反映させる" off: the picture is drawn behind the screen and
// appears with the next picture of that window shown at once, or when the
// session next waits.

// --- music ---
// LoopCount 0 ("not specified") repeats until MusicStop or other music; n
// plays the music n times.

// --- clickable areas ---
enum class AreaState { Normal, MouseOver, Selected };
// Which of the image's stacked parts (from 0, top first) an area shows in a
// state: with fewer parts than states, the last part stands in.
int areaImagePart(int imageDivision, AreaState state);

// --- windows ---
// Windows lie in front of each other in this order, front first: a click
// goes to the front-most shown window that holds the point.
inline constexpr std::array<int, 6> kWindowsFrontFirst{5, 4, 3, 2, 1, 0};
// At the start only the main window is shown. Choices appear in the window
// their line names, which the front end shows while they wait.

// --- answers ---
// A click that hits no area answers a key wait as a key does; a key answers
// a click wait unless it is for areas only. A time-out ends the wait as if
// nothing was chosen: play goes on with the next line.

} // namespace pagora
