#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
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

// The record types with texts are templates over the text type: std::string
// for records that are kept and edited (the TCmd names), std::string_view for
// records read only to be looked at.

// The "文字列の入力" title of a new string input command (CP932).
const std::string& defaultInputTitle();

template <typename String> struct BasicCmdMsgDlg {
    String Text;
    bool DrawNormal = false;
    int Mode = 1;  // index into kMsgDlgModes
    int Speed = 0; // index into kMsgDlgSpeeds
    bool KeyWaitEachLine = false;
    bool KeyWaitAfter = false;
    bool ClickAbleEnabled = true;
    TOptParam Option;
    bool operator==(const BasicCmdMsgDlg&) const = default;
};
using TCmdMsgDlg = BasicCmdMsgDlg<std::string>;

template <typename String> struct BasicCmdGraphic {
    String FileName;
    int ViewLeft = 0;
    int ViewTop = 0;
    bool UseTransparent = false;
    bool ShowAtOnce = true;
    int Effect = 0; // index into kGraphicEffects
    bool FitToPos = false;
    bool HalfTransparent = false;
    bool AutoTransparentColor = false;
    TOptParam Option;
    bool operator==(const BasicCmdGraphic&) const = default;
};
using TCmdGraphic = BasicCmdGraphic<std::string>;

template <typename String> struct BasicCmdMusic {
    String FileName;
    int LoopCount = 0;
    TOptParam Option;
    bool operator==(const BasicCmdMusic&) const = default;
};
using TCmdMusic = BasicCmdMusic<std::string>;

template <typename String> struct BasicCmdSound {
    String FileName;
    bool WaitEnd = true;
    TOptParam Option;
    bool operator==(const BasicCmdSound&) const = default;
};
using TCmdSound = BasicCmdSound<std::string>;

struct TCmdWaitTime {
    int Time = 0; // milliseconds
    TOptParam Option;
    bool operator==(const TCmdWaitTime&) const = default;
};

template <typename String> struct BasicCmdFlagCtrl {
    String FlagName;
    int Operation = 0; // 0 on, 1 off, 2 invert
    TOptParam Option;
    bool operator==(const BasicCmdFlagCtrl&) const = default;
};
using TCmdFlagCtrl = BasicCmdFlagCtrl<std::string>;

inline constexpr int kSelectPairs = 21;

template <typename String> struct BasicCmdSelectDlg {
    std::array<String, kSelectPairs> Items;
    std::array<String, kSelectPairs> Targets; // "$" + page + "$"
    TOptParam Option;
    bool operator==(const BasicCmdSelectDlg&) const = default;
};
using TCmdSelectDlg = BasicCmdSelectDlg<std::string>;

template <typename String> struct BasicCmdPageJump {
    String BookName;
    String PageName;
    int Reserved = 0; // kept as read
    TOptParam Option;
    bool operator==(const BasicCmdPageJump&) const = default;
};
using TCmdPageJump = BasicCmdPageJump<std::string>;

struct TCmdMouseClick {
    bool ClickAbleOnly = false;
    TOptParam Option;
    bool operator==(const TCmdMouseClick&) const = default;
};

template <typename String> struct BasicCmdValueCtrl {
    std::array<String, 3> Operands; // target, first operand, second operand
    int Operator = 0;               // 1 +, 2 -, 3 ×, 4 ÷, 5 mod
    TOptParam Option;
    bool operator==(const BasicCmdValueCtrl&) const = default;
};
using TCmdValueCtrl = BasicCmdValueCtrl<std::string>;

template <typename String> struct BasicCmdStringCtrl {
    String Target; // "$" + name + "$"
    String Value;
    TOptParam Option;
    bool operator==(const BasicCmdStringCtrl&) const = default;
};
using TCmdStringCtrl = BasicCmdStringCtrl<std::string>;

template <typename String> struct BasicCmdClickAble {
    String BookName;
    String PageName;
    String ImageFile;
    int ImageDivision = 0;
    bool ClearOnSelect = false;
    bool CursorChange = true;
    bool CallSubroutine = false;
    TOptParam Option;
    bool operator==(const BasicCmdClickAble&) const = default;
};
using TCmdClickAble = BasicCmdClickAble<std::string>;

struct TCmdClickAbleClear {
    TOptParam Option;
    bool operator==(const TCmdClickAbleClear&) const = default;
};

template <typename String> struct BasicCmdStrInput {
    String Title = defaultInputTitle();
    String Message;
    String Target; // "$" + name + "$"
    TOptParam Option;
    bool operator==(const BasicCmdStrInput&) const = default;
};
using TCmdStrInput = BasicCmdStrInput<std::string>;

struct TCmdWindowShow {
    bool Show = true;
    TOptParam Option;
    bool operator==(const TCmdWindowShow&) const = default;
};

template <typename String> struct BasicCmdSystem {
    int SubCommand = 0; // index into kSystemSubCommands; 0 none
    std::array<String, 2> Params;
    TOptParam Option;
    bool operator==(const BasicCmdSystem&) const = default;
};
using TCmdSystem = BasicCmdSystem<std::string>;

// Any command line read into its record. Comments, MusicStop and unknown
// keywords have no record.
template <typename String>
using BasicCmdRecord =
    std::variant<std::monostate, BasicCmdMsgDlg<String>, BasicCmdGraphic<String>,
                 BasicCmdMusic<String>, BasicCmdSound<String>, TCmdWaitTime,
                 BasicCmdFlagCtrl<String>, BasicCmdSelectDlg<String>, BasicCmdPageJump<String>,
                 TCmdMouseClick, BasicCmdValueCtrl<String>, BasicCmdStringCtrl<String>,
                 BasicCmdClickAble<String>, TCmdClickAbleClear, BasicCmdStrInput<String>,
                 TCmdWindowShow, BasicCmdSystem<String>>;
using CmdRecord = BasicCmdRecord<std::string>;
// The same with its texts as views into the line it was read from, for
// readers that only compare or look up what a line holds.
using CmdRecordView = BasicCmdRecord<std::string_view>;

// The kind of command each record reads and writes.
template <typename Record> inline constexpr CmdKind kKindOf = CmdKind::Unknown;
template <> inline constexpr CmdKind kKindOf<TCmdMsgDlg> = CmdKind::MsgDlg;
template <> inline constexpr CmdKind kKindOf<TCmdGraphic> = CmdKind::Graphic;
template <> inline constexpr CmdKind kKindOf<TCmdMusic> = CmdKind::Music;
template <> inline constexpr CmdKind kKindOf<TCmdSound> = CmdKind::Sound;
template <> inline constexpr CmdKind kKindOf<TCmdWaitTime> = CmdKind::WaitTime;
template <> inline constexpr CmdKind kKindOf<TCmdFlagCtrl> = CmdKind::FlagCtrl;
template <> inline constexpr CmdKind kKindOf<TCmdSelectDlg> = CmdKind::SelectDlg;
template <> inline constexpr CmdKind kKindOf<TCmdPageJump> = CmdKind::PageJump;
template <> inline constexpr CmdKind kKindOf<TCmdMouseClick> = CmdKind::MouseClick;
template <> inline constexpr CmdKind kKindOf<TCmdValueCtrl> = CmdKind::ValueCtrl;
template <> inline constexpr CmdKind kKindOf<TCmdStringCtrl> = CmdKind::StringCtrl;
template <> inline constexpr CmdKind kKindOf<TCmdClickAble> = CmdKind::ClickAble;
template <> inline constexpr CmdKind kKindOf<TCmdClickAbleClear> = CmdKind::ClickAbleClear;
template <> inline constexpr CmdKind kKindOf<TCmdStrInput> = CmdKind::StrInput;
template <> inline constexpr CmdKind kKindOf<TCmdWindowShow> = CmdKind::WindowShow;
template <> inline constexpr CmdKind kKindOf<TCmdSystem> = CmdKind::System;

// The one-line summary the command list shows for a line.
struct TCmdRef {
    bool HasCondition = false;
    bool HasTimeLimit = false;
    CmdKind Kind = CmdKind::Unknown;
    std::string Text; // CP932
};

} // namespace pagora
