// Reading and writing the record of each command kind.
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/numbers.h"

#include <algorithm>
#include <type_traits>

namespace pagora {
namespace {

// Reads the positional parameters of a line in order, then its options. A
// token is stored only when it is positional, so an empty parameter or an
// option in its place leaves the field as it was; reading stops quietly when
// the tokens run out.
class ParamReader {
public:
    ParamReader(TCmdCtrl& syntax, std::string_view line)
        : syntax_(syntax)
        , line_(line)
        , rest_(TCmdCtrl::GetParamText(line)) {}

    // A std::string field gets a copy, a std::string_view one a part of the line.
    template <typename String> void text(String& field) {
        if (next())
            field = token_;
    }
    void strictNumber(int& field) {
        if (next())
            field = strictInt(token_);
    }
    void lenientNumber(int& field) {
        if (next())
            field = lenientInt(token_);
    }
    void boolean(bool& field) {
        if (next())
            field = TCmdCtrl::ParamBool(token_);
    }
    // A word of the list, compared with letter case; other words leave the field.
    void name(int& field, std::span<const std::string_view> names) {
        if (!next())
            return;
        const auto found = std::find(names.begin(), names.end(), token_);
        if (found != names.end())
            field = static_cast<int>(found - names.begin());
    }

    // Every option starts with "/"; most lines have none and keep the defaults.
    void options(TOptParam& option) {
        if (line_.find('/') != std::string_view::npos)
            option = syntax_.ParseOptions(line_);
    }

private:
    bool next() { return TCmdCtrl::NextParam(rest_, token_) && TCmdCtrl::IsPositional(token_); }

    TCmdCtrl& syntax_;
    std::string_view line_;
    std::string_view rest_;
    std::string_view token_;
};

// Writes a line: keyword, a blank, each positional parameter followed by ",",
// then the options.
class LineWriter {
public:
    LineWriter(TCmdCtrl& syntax, CmdKind kind)
        : syntax_(syntax)
        , line_(keywordOf(kind)) {
        line_ += ' ';
    }

    LineWriter& text(std::string_view value) { return raw(syntax_.QuoteParam(value)); }
    LineWriter& number(int value) { return raw(std::to_string(value)); }
    LineWriter& boolean(bool value) { return raw(TCmdCtrl::BoolParam(value)); }
    // Out-of-range values are written as the first word of the list.
    LineWriter& name(int value, std::span<const std::string_view> names) {
        const bool known = value >= 0 && value < static_cast<int>(names.size());
        return raw("\"" + std::string(names[known ? static_cast<std::size_t>(value) : 0]) + "\"");
    }
    std::string finish(const TOptParam& option) {
        return std::move(line_) + TCmdCtrl::BuildOptions(option);
    }

private:
    LineWriter& raw(const std::string& parameter) {
        line_.append(parameter).append(",");
        return *this;
    }

    TCmdCtrl& syntax_;
    std::string line_;
};

} // namespace

const std::string& defaultInputTitle() {
    return PAGORA_CP932("文字列の入力");
}

// --- MsgDlg ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdMsgDlg<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.Text);
    in.boolean(record.DrawNormal);
    in.name(record.Mode, kMsgDlgModes);
    in.name(record.Speed, kMsgDlgSpeeds);
    in.boolean(record.KeyWaitEachLine);
    in.boolean(record.KeyWaitAfter);
    in.boolean(record.ClickAbleEnabled);
    in.options(record.Option);
}

} // namespace

TCmdMsgDlg TCmdCtrl::ParseMsgDlg(std::string_view line) {
    TCmdMsgDlg record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildMsgDlg(const TCmdMsgDlg& record) {
    return LineWriter(*this, CmdKind::MsgDlg)
        .text(record.Text)
        .boolean(record.DrawNormal)
        .name(record.Mode, kMsgDlgModes)
        .name(record.Speed, kMsgDlgSpeeds)
        .boolean(record.KeyWaitEachLine)
        .boolean(record.KeyWaitAfter)
        .boolean(record.ClickAbleEnabled)
        .finish(record.Option);
}

// --- Graphic ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdGraphic<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.FileName);
    in.strictNumber(record.ViewLeft);
    in.strictNumber(record.ViewTop);
    in.boolean(record.UseTransparent);
    in.boolean(record.ShowAtOnce);
    in.name(record.Effect, kGraphicEffects);
    in.boolean(record.FitToPos);
    in.boolean(record.HalfTransparent);
    in.boolean(record.AutoTransparentColor);
    in.options(record.Option);
}

} // namespace

TCmdGraphic TCmdCtrl::ParseGraphic(std::string_view line) {
    TCmdGraphic record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildGraphic(const TCmdGraphic& record) {
    return LineWriter(*this, CmdKind::Graphic)
        .text(record.FileName)
        .number(record.ViewLeft)
        .number(record.ViewTop)
        .boolean(record.UseTransparent)
        .boolean(record.ShowAtOnce)
        .name(record.Effect, kGraphicEffects)
        .boolean(record.FitToPos)
        .boolean(record.HalfTransparent)
        .boolean(record.AutoTransparentColor)
        .finish(record.Option);
}

// --- Music, Sound, WaitTime, FlagCtrl ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdMusic<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.FileName);
    in.lenientNumber(record.LoopCount);
    in.options(record.Option);
}

} // namespace

TCmdMusic TCmdCtrl::ParseMusic(std::string_view line) {
    TCmdMusic record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildMusic(const TCmdMusic& record) {
    return LineWriter(*this, CmdKind::Music)
        .text(record.FileName)
        .number(record.LoopCount)
        .finish(record.Option);
}

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdSound<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.FileName);
    in.boolean(record.WaitEnd);
    in.options(record.Option);
}

} // namespace

TCmdSound TCmdCtrl::ParseSound(std::string_view line) {
    TCmdSound record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildSound(const TCmdSound& record) {
    return LineWriter(*this, CmdKind::Sound)
        .text(record.FileName)
        .boolean(record.WaitEnd)
        .finish(record.Option);
}

namespace {

void read(TCmdCtrl& syntax, std::string_view line, TCmdWaitTime& record) {
    ParamReader in(syntax, line);
    in.strictNumber(record.Time);
    in.options(record.Option);
}

} // namespace

TCmdWaitTime TCmdCtrl::ParseWaitTime(std::string_view line) {
    TCmdWaitTime record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildWaitTime(const TCmdWaitTime& record) {
    return LineWriter(*this, CmdKind::WaitTime).number(record.Time).finish(record.Option);
}

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdFlagCtrl<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.FlagName);
    in.strictNumber(record.Operation);
    in.options(record.Option);
}

} // namespace

TCmdFlagCtrl TCmdCtrl::ParseFlagCtrl(std::string_view line) {
    TCmdFlagCtrl record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildFlagCtrl(const TCmdFlagCtrl& record) {
    return LineWriter(*this, CmdKind::FlagCtrl)
        .text(record.FlagName)
        .number(record.Operation)
        .finish(record.Option);
}

// --- SelectDlg ---

// Reading keeps a pair whose target lacks the "$" and stops after it;
// writing stops before it.
namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdSelectDlg<String>& record) {
    ParamReader in(syntax, line);
    for (std::size_t pair = 0; pair < kSelectPairs; ++pair) {
        in.text(record.Items[pair]);
        in.text(record.Targets[pair]);
        if (record.Targets[pair].empty() || record.Targets[pair][0] != '$')
            break;
    }
    in.options(record.Option);
}

} // namespace

TCmdSelectDlg TCmdCtrl::ParseSelectDlg(std::string_view line) {
    TCmdSelectDlg record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildSelectDlg(const TCmdSelectDlg& record) {
    LineWriter out(*this, CmdKind::SelectDlg);
    for (std::size_t pair = 0; pair < kSelectPairs; ++pair) {
        if (record.Targets[pair].empty() || record.Targets[pair][0] != '$')
            break;
        out.text(record.Items[pair]).text(record.Targets[pair]);
    }
    return out.finish(record.Option);
}

// --- PageJump, MouseClick ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdPageJump<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.BookName);
    in.text(record.PageName);
    in.lenientNumber(record.Reserved);
    in.options(record.Option);
}

} // namespace

TCmdPageJump TCmdCtrl::ParsePageJump(std::string_view line) {
    TCmdPageJump record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildPageJump(const TCmdPageJump& record) {
    return LineWriter(*this, CmdKind::PageJump)
        .text(record.BookName)
        .text(record.PageName)
        .number(record.Reserved)
        .finish(record.Option);
}

namespace {

void read(TCmdCtrl& syntax, std::string_view line, TCmdMouseClick& record) {
    ParamReader in(syntax, line);
    in.boolean(record.ClickAbleOnly);
    in.options(record.Option);
}

} // namespace

TCmdMouseClick TCmdCtrl::ParseMouseClick(std::string_view line) {
    TCmdMouseClick record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildMouseClick(const TCmdMouseClick& record) {
    return LineWriter(*this, CmdKind::MouseClick)
        .boolean(record.ClickAbleOnly)
        .finish(record.Option);
}

// --- ValueCtrl, StringCtrl ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdValueCtrl<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.Operands[0]);
    in.strictNumber(record.Operator);
    in.text(record.Operands[1]);
    in.text(record.Operands[2]);
    in.options(record.Option);
}

} // namespace

TCmdValueCtrl TCmdCtrl::ParseValueCtrl(std::string_view line) {
    TCmdValueCtrl record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildValueCtrl(const TCmdValueCtrl& record) {
    return LineWriter(*this, CmdKind::ValueCtrl)
        .text(record.Operands[0])
        .number(record.Operator)
        .text(record.Operands[1])
        .text(record.Operands[2])
        .finish(record.Option);
}

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdStringCtrl<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.Target);
    in.text(record.Value);
    in.options(record.Option);
}

} // namespace

TCmdStringCtrl TCmdCtrl::ParseStringCtrl(std::string_view line) {
    TCmdStringCtrl record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildStringCtrl(const TCmdStringCtrl& record) {
    return LineWriter(*this, CmdKind::StringCtrl)
        .text(record.Target)
        .text(record.Value)
        .finish(record.Option);
}

// --- ClickAble, ClickAbleClear ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdClickAble<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.BookName);
    in.text(record.PageName);
    in.text(record.ImageFile);
    in.lenientNumber(record.ImageDivision);
    in.boolean(record.ClearOnSelect);
    in.boolean(record.CursorChange);
    in.boolean(record.CallSubroutine);
    in.options(record.Option);
}

} // namespace

TCmdClickAble TCmdCtrl::ParseClickAble(std::string_view line) {
    TCmdClickAble record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildClickAble(const TCmdClickAble& record) {
    return LineWriter(*this, CmdKind::ClickAble)
        .text(record.BookName)
        .text(record.PageName)
        .text(record.ImageFile)
        .number(record.ImageDivision)
        .boolean(record.ClearOnSelect)
        .boolean(record.CursorChange)
        .boolean(record.CallSubroutine)
        .finish(record.Option);
}

namespace {

void read(TCmdCtrl& syntax, std::string_view line, TCmdClickAbleClear& record) {
    ParamReader(syntax, line).options(record.Option);
}

} // namespace

TCmdClickAbleClear TCmdCtrl::ParseClickAbleClear(std::string_view line) {
    TCmdClickAbleClear record;
    read(*this, line, record);
    return record;
}

// The comma ends the empty parameter list.
std::string TCmdCtrl::BuildClickAbleClear(const TCmdClickAbleClear& record) {
    return std::string(keywordOf(CmdKind::ClickAbleClear)) + " ," + BuildOptions(record.Option);
}

// --- StrInput, WindowShow, System ---

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdStrInput<String>& record) {
    ParamReader in(syntax, line);
    in.text(record.Title);
    in.text(record.Message);
    in.text(record.Target);
    in.options(record.Option);
}

} // namespace

TCmdStrInput TCmdCtrl::ParseStrInput(std::string_view line) {
    TCmdStrInput record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildStrInput(const TCmdStrInput& record) {
    return LineWriter(*this, CmdKind::StrInput)
        .text(record.Title)
        .text(record.Message)
        .text(record.Target)
        .finish(record.Option);
}

namespace {

void read(TCmdCtrl& syntax, std::string_view line, TCmdWindowShow& record) {
    ParamReader in(syntax, line);
    in.boolean(record.Show);
    in.options(record.Option);
}

} // namespace

TCmdWindowShow TCmdCtrl::ParseWindowShow(std::string_view line) {
    TCmdWindowShow record;
    read(*this, line, record);
    return record;
}

std::string TCmdCtrl::BuildWindowShow(const TCmdWindowShow& record) {
    return LineWriter(*this, CmdKind::WindowShow).boolean(record.Show).finish(record.Option);
}

namespace {

template <typename String>
void read(TCmdCtrl& syntax, std::string_view line, BasicCmdSystem<String>& record) {
    ParamReader in(syntax, line);
    in.name(record.SubCommand, kSystemSubCommands);
    in.text(record.Params[0]);
    in.text(record.Params[1]);
    in.options(record.Option);
}

} // namespace

TCmdSystem TCmdCtrl::ParseSystem(std::string_view line) {
    TCmdSystem record;
    read(*this, line, record);
    return record;
}

// Sub-commands outside 1 to 10 are written as "None"; the parameters stop at
// the first empty one.
std::string TCmdCtrl::BuildSystem(const TCmdSystem& record) {
    LineWriter out(*this, CmdKind::System);
    out.name(record.SubCommand, kSystemSubCommands);
    for (const std::string& parameter : record.Params) {
        if (parameter.empty())
            break;
        out.text(parameter);
    }
    return out.finish(record.Option);
}

// --- any kind ---

CmdRecord TCmdCtrl::ParseCommand(std::string_view line, ReadFailure onFailure) {
    return ParseCommand(GetCommandKind(line), line, onFailure);
}

namespace {

// On a conversion error the record keeps the fields read before it.
// The record is read in place, so it is never copied or moved.
template <typename String>
BasicCmdRecord<String> readCommand(TCmdCtrl& syntax, CmdKind kind, std::string_view line,
                                   TCmdCtrl::ReadFailure onFailure) {
    using Record = BasicCmdRecord<String>;
    const auto readAs = [&]<typename Kind>(std::type_identity<Kind>) -> Record {
        Record record(std::in_place_type<Kind>);
        try {
            read(syntax, line, std::get<Kind>(record));
        } catch (const ConversionError&) {
            if (onFailure == TCmdCtrl::ReadFailure::Throw)
                throw;
        }
        return record;
    };
    switch (kind) {
    case CmdKind::MsgDlg:
        return readAs(std::type_identity<BasicCmdMsgDlg<String>>());
    case CmdKind::Graphic:
        return readAs(std::type_identity<BasicCmdGraphic<String>>());
    case CmdKind::Music:
        return readAs(std::type_identity<BasicCmdMusic<String>>());
    case CmdKind::Sound:
        return readAs(std::type_identity<BasicCmdSound<String>>());
    case CmdKind::WaitTime:
        return readAs(std::type_identity<TCmdWaitTime>());
    case CmdKind::FlagCtrl:
        return readAs(std::type_identity<BasicCmdFlagCtrl<String>>());
    case CmdKind::SelectDlg:
        return readAs(std::type_identity<BasicCmdSelectDlg<String>>());
    case CmdKind::PageJump:
        return readAs(std::type_identity<BasicCmdPageJump<String>>());
    case CmdKind::MouseClick:
        return readAs(std::type_identity<TCmdMouseClick>());
    case CmdKind::ValueCtrl:
        return readAs(std::type_identity<BasicCmdValueCtrl<String>>());
    case CmdKind::StringCtrl:
        return readAs(std::type_identity<BasicCmdStringCtrl<String>>());
    case CmdKind::ClickAble:
        return readAs(std::type_identity<BasicCmdClickAble<String>>());
    case CmdKind::ClickAbleClear:
        return readAs(std::type_identity<TCmdClickAbleClear>());
    case CmdKind::StrInput:
        return readAs(std::type_identity<BasicCmdStrInput<String>>());
    case CmdKind::WindowShow:
        return readAs(std::type_identity<TCmdWindowShow>());
    case CmdKind::System:
        return readAs(std::type_identity<BasicCmdSystem<String>>());
    case CmdKind::Unknown:
    case CmdKind::Comment:
    case CmdKind::MusicStop:
        break;
    }
    return std::monostate{};
}

} // namespace

CmdRecord TCmdCtrl::ParseCommand(CmdKind kind, std::string_view line, ReadFailure onFailure) {
    return readCommand<std::string>(*this, kind, line, onFailure);
}

CmdRecordView TCmdCtrl::ParseCommandView(CmdKind kind, std::string_view line,
                                         ReadFailure onFailure) {
    return readCommand<std::string_view>(*this, kind, line, onFailure);
}

std::string TCmdCtrl::BuildCommand(const CmdRecord& record) {
    struct Builder {
        TCmdCtrl& syntax;
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const TCmdMsgDlg& r) const { return syntax.BuildMsgDlg(r); }
        std::string operator()(const TCmdGraphic& r) const { return syntax.BuildGraphic(r); }
        std::string operator()(const TCmdMusic& r) const { return syntax.BuildMusic(r); }
        std::string operator()(const TCmdSound& r) const { return syntax.BuildSound(r); }
        std::string operator()(const TCmdWaitTime& r) const { return syntax.BuildWaitTime(r); }
        std::string operator()(const TCmdFlagCtrl& r) const { return syntax.BuildFlagCtrl(r); }
        std::string operator()(const TCmdSelectDlg& r) const { return syntax.BuildSelectDlg(r); }
        std::string operator()(const TCmdPageJump& r) const { return syntax.BuildPageJump(r); }
        std::string operator()(const TCmdMouseClick& r) const { return syntax.BuildMouseClick(r); }
        std::string operator()(const TCmdValueCtrl& r) const { return syntax.BuildValueCtrl(r); }
        std::string operator()(const TCmdStringCtrl& r) const { return syntax.BuildStringCtrl(r); }
        std::string operator()(const TCmdClickAble& r) const { return syntax.BuildClickAble(r); }
        std::string operator()(const TCmdClickAbleClear& r) const {
            return syntax.BuildClickAbleClear(r);
        }
        std::string operator()(const TCmdStrInput& r) const { return syntax.BuildStrInput(r); }
        std::string operator()(const TCmdWindowShow& r) const { return syntax.BuildWindowShow(r); }
        std::string operator()(const TCmdSystem& r) const { return syntax.BuildSystem(r); }
    };
    return std::visit(Builder{*this}, record);
}

} // namespace pagora
