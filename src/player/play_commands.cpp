// What each command line does when it runs.
#include "platform/encoding.h"
#include "platform/numbers.h"
#include "player/play_meanings.h"
#include "player/play_session.h"

#include <utility>

namespace pagora {
namespace {

PlayRect rectOf(const TOptParam& option) {
    return {option.PosLeft, option.PosTop, option.PosRight, option.PosBottom};
}

} // namespace

bool PlaySession::conditionHolds(const TOptParam& option) {
    const TIfParam& numeric = option.If;
    if (numeric.Operator >= 0) {
        const int left = variables_.number(bareName(numeric.Left, '%'));
        const std::optional<int> right = operand(numeric.Right);
        if (!right || !compareNumbers(numeric.Operator, left, *right))
            return false;
    }
    const TIfParam& text = option.IfS;
    if (text.Operator >= 0) {
        const std::string left = variables_.text(bareName(text.Left, '%'));
        const std::string right = !text.Right.empty() && text.Right.front() == '%'
                                      ? variables_.text(bareName(text.Right, '%'))
                                      : text.Right;
        if (!compareTexts(text.Operator, left, right))
            return false;
    }
    return true;
}

// A number written in a line, or a numeric variable "%name%". Anything
// else makes the line unreadable.
std::optional<int> PlaySession::operand(std::string_view text) {
    if (!text.empty() && text.front() == '%')
        return variables_.number(bareName(text, '%'));
    if (const std::optional<int> number = parseInt(text))
        return number;
    unreadable(PAGORA_CP932("“") + std::string(text) + PAGORA_CP932("”は数値ではありません"));
    return std::nullopt;
}

void PlaySession::run(const TCmdMsgDlg& record) {
    const TOptParam& option = record.Option;
    if (!conditionHolds(option))
        return;
    MessageShown message;
    message.window = playWindowIndex(option.Win);
    message.text = variables_.expand(record.Text);
    message.mode = record.Mode;
    message.speed = record.Speed;
    message.drawNormal = record.DrawNormal;
    message.keyWaitEachLine = record.KeyWaitEachLine;
    message.keyWaitAfter = record.KeyWaitAfter;
    message.clickAbleEnabled = record.KeyWaitAfter && record.ClickAbleEnabled;
    message.pos = rectOf(option);
    message.fontSize = option.Size;
    message.color = option.Color;
    message.limit = timeLimitOf(CmdKind::MsgDlg, option);

    PlayWindowState& window = windowAt(message.window);
    window.text = message.text;
    window.textKept = kDrawMeanings[record.DrawNormal ? 1 : 0] == TextLife::Kept;
    const bool waits =
        kindMeaning(CmdKind::MsgDlg).wait == WaitRule::KeyWaitAfter && message.keyWaitAfter;
    post(std::move(message), waits ? PlayWait::Reader : PlayWait::None);
}

void PlaySession::run(const TCmdGraphic& record) {
    const TOptParam& option = record.Option;
    if (!conditionHolds(option))
        return;
    PictureShown picture;
    picture.window = playWindowIndex(option.Win);
    picture.file = record.FileName;
    picture.pos = rectOf(option);
    picture.viewLeft = record.ViewLeft;
    picture.viewTop = record.ViewTop;
    picture.fitToPos = record.FitToPos;
    picture.useTransparent = record.UseTransparent;
    picture.autoTransparentColor = record.AutoTransparentColor;
    picture.transparentColor = option.Color;
    picture.halfTransparent = record.HalfTransparent;
    picture.effect = record.Effect;
    picture.showAtOnce = record.ShowAtOnce;
    windowAt(picture.window).picture = picture.file;
    post(std::move(picture));
}

void PlaySession::run(const TCmdMusic& record) {
    if (!conditionHolds(record.Option))
        return;
    music_ = record.FileName;
    post(MusicStarted{record.FileName, record.LoopCount});
}

void PlaySession::run(const TCmdSound& record) {
    if (!conditionHolds(record.Option))
        return;
    const bool waits = kindMeaning(CmdKind::Sound).wait == WaitRule::SoundEnd && record.WaitEnd;
    post(SoundStarted{record.FileName, record.WaitEnd}, waits ? PlayWait::Time : PlayWait::None);
}

void PlaySession::run(const TCmdWaitTime& record) {
    if (!conditionHolds(record.Option))
        return;
    post(TimePassing{record.Time}, PlayWait::Time);
}

void PlaySession::run(const TCmdFlagCtrl& record) {
    if (!conditionHolds(record.Option))
        return;
    const std::string_view name = bareName(record.FlagName, '%');
    const std::optional<int> value = flagOperation(record.Operation, variables_.number(name));
    if (!value) {
        unreadable(PAGORA_CP932("フラグの操作") + std::to_string(record.Operation) +
                   PAGORA_CP932("はありません"));
        return;
    }
    variables_.setNumber(name, *value);
}

void PlaySession::run(const TCmdValueCtrl& record) {
    if (!conditionHolds(record.Option))
        return;
    const std::optional<int> left = operand(record.Operands[1]);
    const std::optional<int> right = left ? operand(record.Operands[2]) : std::nullopt;
    if (!right)
        return;
    const std::optional<ValueResult> result = valueOperation(record.Operator, *left, *right);
    if (!result) {
        unreadable(PAGORA_CP932("演算子") + std::to_string(record.Operator) +
                   PAGORA_CP932("はありません"));
        return;
    }
    if (result->divisionByZero)
        fault(PAGORA_CP932("0で割りました。結果は0になります"), FaultLevel::Warning);
    variables_.setNumber(bareName(record.Operands[0], '%'), result->value);
}

void PlaySession::run(const TCmdStringCtrl& record) {
    if (!conditionHolds(record.Option))
        return;
    variables_.setText(bareName(record.Target, '$'), variables_.expand(record.Value));
}

void PlaySession::run(const TCmdSelectDlg& record) {
    const TOptParam& option = record.Option;
    if (!conditionHolds(option))
        return;
    ChoicesOffered offered;
    offered.window = playWindowIndex(option.Win);
    for (std::size_t at = 0; at < record.Items.size(); ++at) {
        const std::string& target = record.Targets[at];
        if (target.empty() || target.front() != '$')
            break;
        offered.choices.push_back(
            {variables_.expand(record.Items[at]), std::string(bareName(target, '$'))});
    }
    if (offered.choices.empty()) {
        unreadable(PAGORA_CP932("選択肢がありません"));
        return;
    }
    offered.pos = rectOf(option);
    offered.fontSize = option.Size;
    offered.color = option.Color;
    offered.limit = timeLimitOf(CmdKind::SelectDlg, option);
    post(std::move(offered), PlayWait::Reader);
}

void PlaySession::run(const TCmdPageJump& record) {
    if (conditionHolds(record.Option))
        jump(record.BookName, record.PageName);
}

void PlaySession::run(const TCmdMouseClick& record) {
    if (conditionHolds(record.Option))
        post(ClickWaited{record.ClickAbleOnly, timeLimitOf(CmdKind::MouseClick, record.Option)},
             PlayWait::Reader);
}

void PlaySession::run(const TCmdClickAble& record) {
    const TOptParam& option = record.Option;
    if (!conditionHolds(option))
        return;
    PlayArea area;
    area.rect = rectOf(option);
    area.book = record.BookName;
    area.page = record.PageName;
    area.imageFile = record.ImageFile;
    area.imageDivision = record.ImageFile.empty() ? 0 : record.ImageDivision;
    area.clearOnSelect = record.ClearOnSelect;
    area.cursorChange = record.CursorChange;
    area.callSubroutine = record.CallSubroutine;
    const int windowNo = playWindowIndex(option.Win);
    windowAt(windowNo).areas.push_back(area);
    post(AreaAdded{windowNo, std::move(area)});
}

void PlaySession::run(const TCmdClickAbleClear& record) {
    if (!conditionHolds(record.Option))
        return;
    const int windowNo = playWindowIndex(record.Option.Win);
    windowAt(windowNo).areas.clear();
    post(AreasCleared{windowNo});
}

void PlaySession::run(const TCmdStrInput& record) {
    if (conditionHolds(record.Option))
        post(TextAsked{record.Title, record.Message, std::string(bareName(record.Target, '$')),
                       timeLimitOf(CmdKind::StrInput, record.Option)},
             PlayWait::Reader);
}

void PlaySession::run(const TCmdWindowShow& record) {
    if (!conditionHolds(record.Option))
        return;
    const int windowNo = playWindowIndex(record.Option.Win);
    PlayWindowState& window = windowAt(windowNo);
    window.shown = record.Show;
    if (!record.Show && !window.textKept)
        window.text.clear();
    post(WindowShown{windowNo, record.Show});
}

void PlaySession::run(const TCmdSystem& record) {
    if (!conditionHolds(record.Option))
        return;
    switch (record.SubCommand) {
    case 7:
        call(record.Params[0], record.Params[1]);
        return;
    case 8:
        returnFromCall();
        return;
    case 9:
        post(MenuCalled{record.Params[0]});
        return;
    case 10:
        post(SaveNameSet{variables_.expand(record.Params[0])});
        return;
    case 0:
        unreadable(PAGORA_CP932("システムコマンドの種類がありません"));
        return;
    default:
        runSaveOrLoad(record);
    }
}

// Sub-commands 1 to 6: save and load all variables, one numeric, one string.
void PlaySession::runSaveOrLoad(const TCmdSystem& record) {
    const std::string& name = record.Params[0];
    switch (record.SubCommand) {
    case 1:
        variables_.saveAll(name);
        post(DataSaved{DataScope::All, name});
        return;
    case 2:
        post(DataLoaded{DataScope::All, name, variables_.loadAll(name)});
        return;
    case 3:
        if (variables_.saveNumber(name))
            post(DataSaved{DataScope::Value, name});
        return;
    case 4:
        post(DataLoaded{DataScope::Value, name, variables_.loadNumber(name)});
        return;
    case 5:
        if (variables_.saveText(name))
            post(DataSaved{DataScope::String, name});
        return;
    case 6:
        post(DataLoaded{DataScope::String, name, variables_.loadText(name)});
        return;
    default:
        return;
    }
}

} // namespace pagora
