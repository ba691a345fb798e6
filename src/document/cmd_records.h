#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace pagora {

// The kind of a command line: its keyword, or a comment, or unknown.
enum class CmdKind {
    Unknown = -1,
    Comment = 0,
    MsgDlg,
    Graphic,
    Music,
    Sound,
    MusicStop,
    WaitTime,
    FlagCtrl,
    SelectDlg,
    PageJump,
    MouseClick,
    ValueCtrl,
    StringCtrl,
    ClickAble,
    ClickAbleClear,
    StrInput,
    WindowShow,
    System,
};

// A condition: Left is a variable "%name%", Right a literal or a variable.
struct TIfParam {
    std::string Left;
    std::string Right;
    int Operator = -1; // -1 none; 0 "==", 1 "<>", 2 ">=", 3 "<=", 4 ">>", 5 "<<", 6 "<-"
    bool operator==(const TIfParam&) const = default;
};

inline constexpr std::uint32_t kDefaultOptionColor = 0xFFFFFF;

// The options every command line may carry after its positional parameters.
struct TOptParam {
    int Time = 0;
    int TimeHide = 0;
    TIfParam If;
    TIfParam IfS;
    int PosLeft = 0;
    int PosRight = 0;
    int PosTop = 0;
    int PosBottom = 0;
    std::uint32_t Color = kDefaultOptionColor; // 0x00BBGGRR, or a system colour
    int Size = 0;
    int Win = 0; // 0 main window, 1 message, 2 select, 3 to 5 user windows 1 to 3
    bool operator==(const TOptParam&) const = default;
};

// The "文字列の入力" title of a new string input command (CP932).
const std::string& defaultInputTitle();

struct TCmdMsgDlg {
    std::string Text;
    bool DrawNormal = false;
    int Mode = 1;  // index into kMsgDlgModes
    int Speed = 0; // index into kMsgDlgSpeeds
    bool KeyWaitEachLine = false;
    bool KeyWaitAfter = false;
    bool ClickAbleEnabled = true;
    TOptParam Option;
    bool operator==(const TCmdMsgDlg&) const = default;
};

struct TCmdGraphic {
    std::string FileName;
    int ViewLeft = 0;
    int ViewTop = 0;
    bool UseTransparent = false;
    bool ShowAtOnce = true;
    int Effect = 0; // index into kGraphicEffects
    bool FitToPos = false;
    bool HalfTransparent = false;
    bool AutoTransparentColor = false;
    TOptParam Option;
    bool operator==(const TCmdGraphic&) const = default;
};

struct TCmdMusic {
    std::string FileName;
    int LoopCount = 0;
    TOptParam Option;
    bool operator==(const TCmdMusic&) const = default;
};

struct TCmdSound {
    std::string FileName;
    bool WaitEnd = true;
    TOptParam Option;
    bool operator==(const TCmdSound&) const = default;
};

struct TCmdWaitTime {
    int Time = 0; // milliseconds
    TOptParam Option;
    bool operator==(const TCmdWaitTime&) const = default;
};

struct TCmdFlagCtrl {
    std::string FlagName;
    int Operation = 0; // 0 on, 1 off, 2 invert
    TOptParam Option;
    bool operator==(const TCmdFlagCtrl&) const = default;
};

inline constexpr int kSelectPairs = 21;

struct TCmdSelectDlg {
    std::array<std::string, kSelectPairs> Items;
    std::array<std::string, kSelectPairs> Targets; // "$" + page + "$"
    TOptParam Option;
    bool operator==(const TCmdSelectDlg&) const = default;
};

struct TCmdPageJump {
    std::string BookName;
    std::string PageName;
    int Reserved = 0; // kept as read
    TOptParam Option;
    bool operator==(const TCmdPageJump&) const = default;
};

struct TCmdMouseClick {
    bool ClickAbleOnly = false;
    TOptParam Option;
    bool operator==(const TCmdMouseClick&) const = default;
};

struct TCmdValueCtrl {
    std::array<std::string, 3> Operands; // target, first operand, second operand
    int Operator = 0;                    // 1 +, 2 -, 3 ×, 4 ÷, 5 mod
    TOptParam Option;
    bool operator==(const TCmdValueCtrl&) const = default;
};

struct TCmdStringCtrl {
    std::string Target; // "$" + name + "$"
    std::string Value;
    TOptParam Option;
    bool operator==(const TCmdStringCtrl&) const = default;
};

struct TCmdClickAble {
    std::string BookName;
    std::string PageName;
    std::string ImageFile;
    int ImageDivision = 0;
    bool ClearOnSelect = false;
    bool CursorChange = true;
    bool CallSubroutine = false;
    TOptParam Option;
    bool operator==(const TCmdClickAble&) const = default;
};

struct TCmdClickAbleClear {
    TOptParam Option;
    bool operator==(const TCmdClickAbleClear&) const = default;
};

struct TCmdStrInput {
    std::string Title = defaultInputTitle();
    std::string Message;
    std::string Target; // "$" + name + "$"
    TOptParam Option;
    bool operator==(const TCmdStrInput&) const = default;
};

struct TCmdWindowShow {
    bool Show = true;
    TOptParam Option;
    bool operator==(const TCmdWindowShow&) const = default;
};

struct TCmdSystem {
    int SubCommand = 0; // index into kSystemSubCommands; 0 none
    std::array<std::string, 2> Params;
    TOptParam Option;
    bool operator==(const TCmdSystem&) const = default;
};

// Any command line read into its record. Comments, MusicStop and unknown
// keywords have no record.
using CmdRecord = std::variant<std::monostate, TCmdMsgDlg, TCmdGraphic, TCmdMusic, TCmdSound,
                               TCmdWaitTime, TCmdFlagCtrl, TCmdSelectDlg, TCmdPageJump,
                               TCmdMouseClick, TCmdValueCtrl, TCmdStringCtrl, TCmdClickAble,
                               TCmdClickAbleClear, TCmdStrInput, TCmdWindowShow, TCmdSystem>;

// The one-line summary the command list shows for a line.
struct TCmdRef {
    bool HasCondition = false;
    bool HasTimeLimit = false;
    CmdKind Kind = CmdKind::Unknown;
    std::string Text; // CP932
};

} // namespace pagora
