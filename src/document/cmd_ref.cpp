// The sentence the command list shows for a line, and the icon of its kind.
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"

namespace pagora {
namespace {

constexpr std::size_t kShownTextBytes = 62;

std::string quotedFile(const std::string& prefix, const std::string& fileName) {
    return prefix + " \"" + fileName + "\"";
}

bool onlyBlanks(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

std::string commentText(std::string_view line) {
    const std::string_view rest = line.substr(2);
    return onlyBlanks(rest) ? PAGORA_CP932("-- 注釈 --") : std::string(rest);
}

std::string waitTimeText(int milliseconds) {
    const std::string amount = milliseconds % 1000 == 0
                                   ? std::to_string(milliseconds / 1000)
                                   : std::to_string(milliseconds) + PAGORA_CP932("ミリ");
    return amount + PAGORA_CP932("秒 待ちます。");
}

std::string flagText(const TCmdFlagCtrl& record) {
    std::string text = PAGORA_CP932("フラグ［") + record.FlagName + PAGORA_CP932("］を");
    switch (record.Operation) {
    case 0:
        return text + PAGORA_CP932("ＯＮにします");
    case 1:
        return text + PAGORA_CP932("ＯＦＦにします");
    case 2:
        return text + PAGORA_CP932("反転します");
    default:
        return text;
    }
}

// Scans every target, unlike reading and writing, which stop at the first
// one without "$".
std::string selectText(const TCmdSelectDlg& record) {
    std::string targets;
    for (const std::string& target : record.Targets) {
        if (target.empty() || target[0] != '$')
            continue;
        if (!targets.empty())
            targets += PAGORA_CP932("、");
        targets += cp932StripEnds(target);
    }
    return PAGORA_CP932("選択肢を表示。移動先は、") + targets + PAGORA_CP932(" です");
}

std::string operandText(const std::string& operand) {
    return std::string(operand.empty() || operand[0] != '%' ? std::string_view(operand)
                                                            : cp932StripEnds(operand));
}

std::string valueText(const TCmdValueCtrl& record) {
    static const std::string operators[] = {PAGORA_CP932("＋"), PAGORA_CP932("－"),
                                            PAGORA_CP932("×"), PAGORA_CP932("÷"), "mod"};
    const bool known = record.Operator >= 1 && record.Operator <= 5;
    return PAGORA_CP932("［") + std::string(cp932StripEnds(record.Operands[0])) +
           PAGORA_CP932("］←［") + operandText(record.Operands[1]) + PAGORA_CP932("］") +
           (known ? operators[record.Operator - 1] : std::string()) + PAGORA_CP932("［") +
           operandText(record.Operands[2]) + PAGORA_CP932("］");
}

std::string systemText(const TCmdSystem& record) {
    const std::string& p1 = record.Params[0];
    const std::string& p2 = record.Params[1];
    switch (record.SubCommand) {
    case 1:
        return PAGORA_CP932("全てのデータを、ブロック「") + p1 + PAGORA_CP932("」に保存します");
    case 2:
        return PAGORA_CP932("全てのデータを、ブロック「") + p1 + PAGORA_CP932("」から読み込みます");
    case 3:
        return PAGORA_CP932("数値変数「") + p1 + PAGORA_CP932("」を保存します");
    case 4:
        return PAGORA_CP932("数値変数「") + p1 + PAGORA_CP932("」を読み込みます");
    case 5:
        return PAGORA_CP932("文字列変数「") + p1 + PAGORA_CP932("」を保存します");
    case 6:
        return PAGORA_CP932("文字列変数「") + p1 + PAGORA_CP932("」を読み込みます");
    case 7:
        return PAGORA_CP932("サブルーチンコール　「") + p1 + PAGORA_CP932("」の「") + p2 +
               PAGORA_CP932("」をコールします");
    case 8:
        return PAGORA_CP932("サブルーチンから復帰します");
    case 9:
        return PAGORA_CP932("メニュー操作 - ") + p1;
    case 10:
        return PAGORA_CP932("セーブ名変更「") + p1 + PAGORA_CP932("」");
    default:
        return PAGORA_CP932("システムコマンド－パラメータ不正です");
    }
}

void setFlags(TCmdRef& ref, const TOptParam& option) {
    ref.HasCondition = option.If.Operator != -1 || option.IfS.Operator != -1;
    ref.HasTimeLimit = option.Time > 0 || option.TimeHide >= 1;
}

} // namespace

TCmdRef TCmdCtrl::MakeCmdRef(std::string_view line) {
    TCmdRef ref;
    ref.Kind = GetCommandKind(line);
    const auto summarise = [&ref](const auto& record, std::string text) {
        setFlags(ref, record.Option);
        ref.Text = std::move(text);
    };
    switch (ref.Kind) {
    case CmdKind::Unknown:
        ref.Text = PAGORA_CP932("未知のコマンドです");
        break;
    case CmdKind::Comment:
        ref.Text = commentText(line);
        break;
    case CmdKind::MusicStop:
        ref.Text = PAGORA_CP932("音楽を止めます");
        break;
    case CmdKind::ClickAbleClear:
        ref.Text = PAGORA_CP932("クリッカブル領域をクリアします。");
        break;
    case CmdKind::MsgDlg: {
        const TCmdMsgDlg record = ParseMsgDlg(line);
        summarise(record, PAGORA_CP932("メッセージを表示します：") +
                              std::string(cp932Prefix(record.Text, kShownTextBytes)));
        break;
    }
    case CmdKind::Graphic: {
        const TCmdGraphic record = ParseGraphic(line);
        summarise(record, quotedFile(PAGORA_CP932("グラフィックを表示します"), record.FileName));
        break;
    }
    case CmdKind::Music: {
        const TCmdMusic record = ParseMusic(line);
        summarise(record, quotedFile(PAGORA_CP932("音楽を演奏します"), record.FileName));
        break;
    }
    case CmdKind::Sound: {
        const TCmdSound record = ParseSound(line);
        summarise(record, quotedFile(PAGORA_CP932("効果音を鳴らします"), record.FileName));
        break;
    }
    case CmdKind::WaitTime: {
        const TCmdWaitTime record = ParseWaitTime(line);
        summarise(record, waitTimeText(record.Time));
        break;
    }
    case CmdKind::FlagCtrl: {
        const TCmdFlagCtrl record = ParseFlagCtrl(line);
        summarise(record, flagText(record));
        break;
    }
    case CmdKind::SelectDlg: {
        const TCmdSelectDlg record = ParseSelectDlg(line);
        summarise(record, selectText(record));
        break;
    }
    case CmdKind::PageJump: {
        const TCmdPageJump record = ParsePageJump(line);
        summarise(record, PAGORA_CP932("「") + record.BookName + PAGORA_CP932("」の「") +
                              record.PageName + PAGORA_CP932("」に移動します"));
        break;
    }
    case CmdKind::MouseClick: {
        const TCmdMouseClick record{false, ParseOptions(line)};
        summarise(record, PAGORA_CP932("マウスで画面をクリックするまで待ちます"));
        break;
    }
    case CmdKind::ValueCtrl: {
        const TCmdValueCtrl record = ParseValueCtrl(line);
        summarise(record, valueText(record));
        break;
    }
    case CmdKind::StringCtrl: {
        const TCmdStringCtrl record = ParseStringCtrl(line);
        summarise(record, PAGORA_CP932("［") + std::string(cp932StripEnds(record.Target)) +
                              PAGORA_CP932("］にテキストを代入。内容：") +
                              std::string(cp932Prefix(record.Value, kShownTextBytes)));
        break;
    }
    case CmdKind::ClickAble: {
        const TCmdClickAble record = ParseClickAble(line);
        summarise(record, PAGORA_CP932("クリッカブル領域を定義。") +
                              (record.CallSubroutine ? PAGORA_CP932("コール先は、")
                                                     : PAGORA_CP932("移動先は、")) +
                              PAGORA_CP932("「") + record.BookName + PAGORA_CP932("」「") +
                              record.PageName + PAGORA_CP932("」です。"));
        break;
    }
    case CmdKind::StrInput: {
        const TCmdStrInput record = ParseStrInput(line);
        summarise(record, PAGORA_CP932("「") + std::string(cp932StripEnds(record.Target)) +
                              PAGORA_CP932("」に文字列を入力します。"));
        break;
    }
    case CmdKind::WindowShow: {
        const TCmdWindowShow record = ParseWindowShow(line);
        summarise(record,
                  PAGORA_CP932("ウインドウを") +
                      (record.Show ? PAGORA_CP932("表示します") : PAGORA_CP932("消去します")));
        break;
    }
    case CmdKind::System: {
        const TCmdSystem record = ParseSystem(line);
        summarise(record, systemText(record));
        break;
    }
    }
    return ref;
}

int CommandIconIndex(CmdKind kind) {
    switch (kind) {
    case CmdKind::Comment:
        return -1;
    case CmdKind::Unknown:
        return 0;
    case CmdKind::MsgDlg:
        return 3;
    case CmdKind::Graphic:
        return 4;
    case CmdKind::Music:
    case CmdKind::MusicStop:
        return 5;
    case CmdKind::Sound:
        return 6;
    case CmdKind::WaitTime:
        return 7;
    case CmdKind::FlagCtrl:
    case CmdKind::ValueCtrl:
        return 8;
    case CmdKind::StringCtrl:
        return 9;
    case CmdKind::SelectDlg:
        return 10;
    case CmdKind::PageJump:
        return 11;
    case CmdKind::MouseClick:
        return 12;
    case CmdKind::WindowShow:
        return 13;
    case CmdKind::StrInput:
        return 14;
    case CmdKind::System:
        return 15;
    case CmdKind::ClickAble:
    case CmdKind::ClickAbleClear:
        return 16;
    }
    return 0;
}

} // namespace pagora
