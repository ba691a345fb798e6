#pragma once

#include "document/cmd_records.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pagora {

class Prompter;

inline constexpr std::array<std::string_view, 6> kMsgDlgModes = {
    "None", "KeyWait", "Line-KeyWait", "Line-Scroll", "Char-KeyWait", "Char-Scroll"};
inline constexpr std::array<std::string_view, 3> kMsgDlgSpeeds = {"Normal", "Fast", "Slow"};
inline constexpr std::array<std::string_view, 19> kGraphicEffects = {
    "None",       "FadeIn",     "LeftTo",     "TopTo",       "RndPanel",
    "Mosaic",     "Wave",       "ZoomUp",     "ZoomDown",    "Blind",
    "Square",     "FadeInSect", "LeftToSect", "TopToSect",   "RndPanelSect",
    "MosaicSect", "WaveSect",   "ZoomUpSect", "ZoomDownSect"};
inline constexpr std::array<std::string_view, 11> kSystemSubCommands = {
    "None",        "AllDataSave", "AllDataLoad", "ValDataSave", "ValDataLoad", "StrDataSave",
    "StrDataLoad", "Call",        "Return",      "MenuCtrl",    "SaveNameSet"};
// Condition operators by number; "/IF:" takes 0 to 5, "/IFS:" 0, 1 and 6.
inline constexpr std::array<std::string_view, 7> kConditionOperators = {
    "==", "<>", ">=", "<=", ">>", "<<", "<-"};

// The keyword of a kind ("MsgDlg"), empty for comments and unknown lines.
std::string_view keywordOf(CmdKind kind);

// The text form of command lines: reads a line into the record of its kind
// and writes a record back as a line. Texts are CP932. Strict number fields
// that are not numbers throw ConversionError; checks that fail show their
// message through the Prompter.
class TCmdCtrl {
public:
    explicit TCmdCtrl(Prompter& prompter)
        : prompter_(prompter) {}

    // --- syntax ---
    static CmdKind GetCommandKind(std::string_view line);
    static std::string_view GetParamText(std::string_view line);
    // Takes the next token from rest; false when rest is empty. A token is
    // always a part of rest, so the view form copies nothing.
    static bool NextParam(std::string_view& rest, std::string_view& token);
    static bool NextParam(std::string_view& rest, std::string& token);
    static bool IsPositional(std::string_view token);
    // The value of the last "/KEY:" option of the line; empty when there is none.
    static std::optional<std::string> GetOptionValue(std::string_view line, std::string_view key);
    TIfParam ParseCondition(std::string_view text);
    TOptParam ParseOptions(std::string_view line);
    static std::string BuildOptions(const TOptParam& option);
    std::string QuoteParam(std::string_view text);
    static std::string BoolParam(bool value) { return value ? "1" : "0"; }
    static bool ParamBool(std::string_view token);
    bool CheckName(std::string_view text);

    // The colour text of an option: a colour name, or "0x" and eight hex digits.
    static std::string ColorText(std::uint32_t color);
    // Reads a colour name or number; throws ConversionError for anything else.
    static std::uint32_t ParseColor(std::string_view text);

    // --- records ---
    TCmdMsgDlg ParseMsgDlg(std::string_view line);
    TCmdGraphic ParseGraphic(std::string_view line);
    TCmdMusic ParseMusic(std::string_view line);
    TCmdSound ParseSound(std::string_view line);
    TCmdWaitTime ParseWaitTime(std::string_view line);
    TCmdFlagCtrl ParseFlagCtrl(std::string_view line);
    TCmdSelectDlg ParseSelectDlg(std::string_view line);
    TCmdPageJump ParsePageJump(std::string_view line);
    TCmdMouseClick ParseMouseClick(std::string_view line);
    TCmdValueCtrl ParseValueCtrl(std::string_view line);
    TCmdStringCtrl ParseStringCtrl(std::string_view line);
    TCmdClickAble ParseClickAble(std::string_view line);
    TCmdClickAbleClear ParseClickAbleClear(std::string_view line);
    TCmdStrInput ParseStrInput(std::string_view line);
    TCmdWindowShow ParseWindowShow(std::string_view line);
    TCmdSystem ParseSystem(std::string_view line);

    std::string BuildMsgDlg(const TCmdMsgDlg& record);
    std::string BuildGraphic(const TCmdGraphic& record);
    std::string BuildMusic(const TCmdMusic& record);
    std::string BuildSound(const TCmdSound& record);
    std::string BuildWaitTime(const TCmdWaitTime& record);
    std::string BuildFlagCtrl(const TCmdFlagCtrl& record);
    std::string BuildSelectDlg(const TCmdSelectDlg& record);
    std::string BuildPageJump(const TCmdPageJump& record);
    std::string BuildMouseClick(const TCmdMouseClick& record);
    std::string BuildValueCtrl(const TCmdValueCtrl& record);
    std::string BuildStringCtrl(const TCmdStringCtrl& record);
    std::string BuildClickAble(const TCmdClickAble& record);
    std::string BuildClickAbleClear(const TCmdClickAbleClear& record);
    std::string BuildStrInput(const TCmdStrInput& record);
    std::string BuildWindowShow(const TCmdWindowShow& record);
    std::string BuildSystem(const TCmdSystem& record);

    // Any line through the reader of its kind (no record for comments,
    // MusicStop and unknown keywords), and any record back to its line.
    // KeepWhatWasRead turns a conversion error into the record as far as it
    // was read, for checks that must go on whatever a line holds.
    enum class ReadFailure { Throw, KeepWhatWasRead };
    CmdRecord ParseCommand(std::string_view line, ReadFailure onFailure = ReadFailure::Throw);
    // The same for a line whose kind the caller has already classified.
    CmdRecord ParseCommand(CmdKind kind, std::string_view line, ReadFailure onFailure);
    // The same with the record's texts as views into line, which must outlive it.
    CmdRecordView ParseCommandView(CmdKind kind, std::string_view line, ReadFailure onFailure);
    std::string BuildCommand(const CmdRecord& record);

    // --- display ---
    TCmdRef MakeCmdRef(std::string_view line);

private:
    Prompter& prompter_;
};

// The command list icon of a kind; -1 for none (comments).
int CommandIconIndex(CmdKind kind);

} // namespace pagora
