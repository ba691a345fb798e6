#include "document/comic_editing.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/comic_references.h"
#include "platform/encoding.h"

#include <algorithm>
#include <functional>

namespace pagora {
namespace {

constexpr std::string_view kComicBlock = "Comic";

bool contains(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isPage(const TreeNode& node) {
    return node.level == TreeLevel::Page;
}

int lineCount(TComicFileCtrl& comic, const EditPlace& page) {
    return comic.GetCommandCount(page.book, page.page);
}

bool holdsPage(TComicFileCtrl& comic, const EditPlace& page) {
    return comic.PageExists(page.book, page.page);
}

EditPlace lineOf(const EditPlace& page, int line) {
    return {page.book, page.page, line};
}

// The names among which a new or renamed node must be unique: every book, or
// the pages of the node's book.
std::vector<std::string> siblingNames(TComicFileCtrl& comic, const TreeNode& node) {
    return isPage(node) ? comic.GetPageList(node.book) : comic.GetBookList();
}

EditVerdict nameInUse(const TreeNode& node) {
    return EditVerdict::refused(MessageKind::Warning,
                                isPage(node)
                                    ? PAGORA_CP932("指定されたページ名はすでに使用されてます。")
                                    : PAGORA_CP932("指定されたブック名はすでに使用されてます。"));
}

// Whether the node is the start book, or the start page of the start book.
bool isStartNode(TComicFileCtrl& comic, const TreeNode& node) {
    return startBookOf(comic) == node.book && (!isPage(node) || startPageOf(comic) == node.page);
}

EditMessage information(const std::string& text) {
    return {MessageKind::Information, text};
}

EditMessage warning(const std::string& text) {
    return {MessageKind::Warning, text};
}

EditPlace placeOf(const TreeNode& node) {
    return {node.book, isPage(node) ? node.page : std::string(), -1};
}

std::string firstOf(const std::vector<std::string>& names) {
    return names.empty() ? std::string() : names.front();
}

const std::string& labelFor(const TreeNode& node, const std::string& book,
                            const std::string& page) {
    return isPage(node) ? page : book;
}

// One user action is one undo step: the edit runs in a group that takes the
// verdict's focus as the place after. A refused or empty edit leaves no step.
template <typename Edit>
EditVerdict asStep(TComicFileCtrl& comic, const std::string& label, const EditPlace& before,
                   Edit edit) {
    EditGroup group(comic.History(), label, before);
    EditVerdict verdict = edit();
    if (verdict.focus)
        group.setPlaceAfter(*verdict.focus);
    return verdict;
}

} // namespace

// --- command lines ---

EditVerdict insertEmptyLine(TComicFileCtrl& comic, const EditPlace& focused) {
    return asStep(comic, PAGORA_CP932("コマンドの挿入"), focused, [&]() -> EditVerdict {
        if (!holdsPage(comic, focused))
            return EditVerdict::unchanged();
        const int at = std::max(focused.line, 0);
        comic.InsertCommand(focused.book, focused.page, at);
        return EditVerdict::doneAt(lineOf(focused, at));
    });
}

EditVerdict appendEmptyLine(TComicFileCtrl& comic, const EditPlace& page) {
    return asStep(comic, PAGORA_CP932("コマンドの追加"), page, [&]() -> EditVerdict {
        if (!holdsPage(comic, page))
            return EditVerdict::unchanged();
        comic.AppendCommand(page.book, page.page);
        return EditVerdict::doneAt(lineOf(page, lineCount(comic, page) - 1));
    });
}

EditVerdict insertLineAfter(TComicFileCtrl& comic, const EditPlace& focused,
                            std::string_view line) {
    return asStep(comic, PAGORA_CP932("コマンドの追加"), focused, [&]() -> EditVerdict {
        if (!holdsPage(comic, focused))
            return EditVerdict::unchanged();
        const int count = lineCount(comic, focused);
        const int at = focused.line + 1 < count ? focused.line + 1 : count;
        if (at < count)
            comic.InsertCommand(focused.book, focused.page, at);
        else
            comic.AppendCommand(focused.book, focused.page);
        comic.SetCommand(focused.book, focused.page, line, at);
        return EditVerdict::doneAt(lineOf(focused, at));
    });
}

EditVerdict setLine(TComicFileCtrl& comic, const EditPlace& at, std::string_view line) {
    return asStep(comic, PAGORA_CP932("コマンドの編集"), at, [&]() -> EditVerdict {
        if (at.line < 0 || at.line >= lineCount(comic, at))
            return EditVerdict::unchanged();
        comic.SetCommand(at.book, at.page, line, at.line);
        return EditVerdict::doneAt(at);
    });
}

EditVerdict deleteLines(TComicFileCtrl& comic, const EditPlace& focused,
                        const std::vector<int>& rows) {
    return asStep(comic, PAGORA_CP932("コマンドの削除"), focused, [&]() -> EditVerdict {
        if (!holdsPage(comic, focused))
            return EditVerdict::unchanged();
        std::vector<int> descending = rows;
        std::sort(descending.begin(), descending.end(), std::greater<>());
        descending.erase(std::unique(descending.begin(), descending.end()), descending.end());
        for (const int row : descending)
            comic.DeleteCommand(focused.book, focused.page, row);
        const bool refill = lineCount(comic, focused) == 0;
        if (refill)
            comic.AppendCommand(focused.book, focused.page);
        if (descending.empty() && !refill)
            return EditVerdict::unchanged();
        const int last = lineCount(comic, focused) - 1;
        return EditVerdict::doneAt(lineOf(focused, std::clamp(focused.line, 0, std::max(last, 0))));
    });
}

CommandClipboard copyLines(TComicFileCtrl& comic, const EditPlace& page,
                           const std::vector<int>& rows) {
    std::vector<int> ascending = rows;
    std::sort(ascending.begin(), ascending.end());
    CommandClipboard lines;
    for (const int row : ascending)
        lines.push_back(comic.GetCommand(page.book, page.page, row));
    return lines;
}

EditVerdict cutLines(TComicFileCtrl& comic, const EditPlace& focused, const std::vector<int>& rows,
                     CommandClipboard& clipboard) {
    return asStep(comic, PAGORA_CP932("切り取り"), focused, [&]() -> EditVerdict {
        clipboard = copyLines(comic, focused, rows);
        return deleteLines(comic, focused, rows);
    });
}

EditVerdict pasteLines(TComicFileCtrl& comic, const EditPlace& focused,
                       const CommandClipboard& clipboard) {
    return asStep(comic, PAGORA_CP932("貼り付け"), focused, [&]() -> EditVerdict {
        if (clipboard.empty() || !holdsPage(comic, focused))
            return EditVerdict::unchanged();
        const int at = std::max(focused.line, 0);
        for (auto line = clipboard.rbegin(); line != clipboard.rend(); ++line) {
            comic.InsertCommand(focused.book, focused.page, at);
            comic.SetCommand(focused.book, focused.page, *line, at);
        }
        return EditVerdict::doneAt(lineOf(focused, at));
    });
}

// --- header ---

EditVerdict writeHeaderKeys(TComicFileCtrl& comic, const std::vector<HeaderEntry>& entries) {
    return asStep(comic, PAGORA_CP932("設定の変更"), {}, [&]() -> EditVerdict {
        if (entries.empty())
            return EditVerdict::unchanged();
        for (const HeaderEntry& entry : entries)
            comic.WriteHeader(entry.block, entry.key, entry.value);
        return EditVerdict::doneAt({});
    });
}

// --- variables ---

namespace {

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Why the entry cannot be declared, if it cannot. The bytes searched for are
// never the second byte of a CP932 character.
std::optional<EditMessage> declarationProblem(std::string_view name, std::string_view value) {
    if (name.empty())
        return warning(PAGORA_CP932("変数名を入力して下さい"));
    if (name.front() == '@')
        return warning(PAGORA_CP932("「@」で始まる名前は組み込み変数のものです\n"
                                    "別の変数名を指定して下さい"));
    if (name.front() == '<' || name.starts_with("//") || name.find('=') != std::string_view::npos ||
        hasLineBreak(name))
        return warning(
            PAGORA_CP932("この変数名はコミックファイルに書き込めません\n"
                         "「<」や「//」で始まる名前、「=」や改行を含む名前は使えません"));
    if (hasLineBreak(value))
        return warning(PAGORA_CP932("変数の初期値に改行は使えません"));
    return std::nullopt;
}

// The value of the variable's entry, as reading the key finds it.
std::optional<std::string> declaredValue(const TComicFileCtrl& comic, VariableKind kind,
                                         std::string_view name) {
    for (auto& [key, value] : comic.GetHeaderEntries(variableBlock(kind)))
        if (key == name)
            return std::move(value);
    return std::nullopt;
}

} // namespace

EditVerdict declareVariable(TComicFileCtrl& comic, VariableKind kind, std::string_view name,
                            std::string_view value) {
    return asStep(comic, PAGORA_CP932("変数の設定"), {}, [&]() -> EditVerdict {
        if (std::optional<EditMessage> problem = declarationProblem(name, value))
            return {std::nullopt, std::move(problem)};
        if (declaredValue(comic, kind, name) == value)
            return EditVerdict::unchanged();
        comic.WriteHeader(variableBlock(kind), name, value);
        return EditVerdict::doneAt({});
    });
}

EditVerdict deleteVariable(TComicFileCtrl& comic, VariableKind kind, std::string_view name) {
    return asStep(comic, PAGORA_CP932("変数の削除"), {}, [&]() -> EditVerdict {
        if (!declaredValue(comic, kind, name))
            return EditVerdict::unchanged();
        comic.DeleteHeader(variableBlock(kind), name);
        return EditVerdict::doneAt({});
    });
}

namespace {

// A "%" or "&" in a variable's name would pair with the delimiters of the
// texts that embed it, so the player would read another name there.
bool breaksEmbedding(std::string_view name) {
    return name.find_first_of("%&") != std::string_view::npos;
}

} // namespace

std::optional<EditVerdict> variableRenameProblem(TComicFileCtrl& comic, TCmdCtrl& syntax,
                                                 VariableKind kind, std::string_view oldName,
                                                 std::string_view newName) {
    if (newName == oldName || !declaredValue(comic, kind, oldName))
        return EditVerdict::unchanged();
    if (std::optional<EditMessage> problem = declarationProblem(newName, ""))
        return EditVerdict{std::nullopt, std::move(problem)};
    if (breaksEmbedding(newName))
        return EditVerdict::refused(
            MessageKind::Warning,
            PAGORA_CP932("「%」や「&」を含む変数名は、文に埋め込むと区切りと区別できません\n"
                         "別の変数名を指定して下さい"));
    if (!syntax.CheckName(newName))
        return EditVerdict::unchanged();
    if (declaredValue(comic, kind, newName))
        return EditVerdict::refused(MessageKind::Warning,
                                    PAGORA_CP932("変数名「") + std::string(newName) +
                                        PAGORA_CP932("」はすでに使用されています\n"
                                                     "別の変数名を指定して下さい"));
    return std::nullopt;
}

RenameVerdict renameVariable(TComicFileCtrl& comic, TCmdCtrl& syntax, VariableKind kind,
                             std::string_view oldName, std::string_view newName,
                             ReferenceUpdate update) {
    RenameVerdict result;
    result.verdict = asStep(comic, PAGORA_CP932("変数名の変更"), {}, [&]() -> EditVerdict {
        if (std::optional<EditVerdict> problem =
                variableRenameProblem(comic, syntax, kind, oldName, newName))
            return *problem;
        comic.RenameHeaderKey(variableBlock(kind), oldName, newName);
        if (update == ReferenceUpdate::Rewrite)
            result.references = rewriteReferences(
                comic, {{nameKindOf(kind), std::string(oldName)}, std::string(newName)});
        return EditVerdict::doneAt({});
    });
    return result;
}

// --- books and pages ---

TreeNode TreeNode::openAt(TreeLevel level, const EditPlace& open) {
    return {level, open.book, level == TreeLevel::Page ? open.page : std::string()};
}

TreeNode TreeNode::named(std::string name) const {
    TreeNode node = *this;
    (level == TreeLevel::Page ? node.page : node.book) = std::move(name);
    return node;
}

std::string startBookOf(const TComicFileCtrl& comic) {
    return comic.ReadHeader(kComicBlock, "StartBook", PAGORA_CP932("スタートブック"));
}

std::string startPageOf(const TComicFileCtrl& comic) {
    return comic.ReadHeader(kComicBlock, "StartPage", PAGORA_CP932("スタートページ"));
}

std::string proposeName(TComicFileCtrl& comic, const TreeNode& beside) {
    const std::vector<std::string> names = siblingNames(comic, beside);
    const std::string& base = isPage(beside) ? PAGORA_CP932("ページ") : PAGORA_CP932("ブック");
    for (int k = 1;; ++k) {
        std::string name = base + std::to_string(k);
        if (!contains(names, name))
            return name;
    }
}

EditVerdict addNode(TComicFileCtrl& comic, TCmdCtrl& syntax, const TreeNode& node) {
    return asStep(comic, labelFor(node, PAGORA_CP932("ブックの追加"), PAGORA_CP932("ページの追加")),
                  placeOf(node), [&]() -> EditVerdict {
                      if (!syntax.CheckName(node.name()))
                          return EditVerdict::unchanged();
                      if (contains(siblingNames(comic, node), node.name()))
                          return nameInUse(node);
                      const bool added = isPage(node) ? comic.AddPage(node.book, node.page)
                                                      : comic.AddBook(node.book);
                      return added ? EditVerdict::doneAt(placeOf(node)) : EditVerdict::unchanged();
                  });
}

std::optional<EditMessage> checkRename(TComicFileCtrl& comic, const TreeNode& node) {
    if (!isStartNode(comic, node))
        return std::nullopt;
    return information(
        isPage(node) ? PAGORA_CP932("指定されたページは、\r\nスタートページに設定されています。"
                                    "\r\n名前を変更することはできません。")
                     : PAGORA_CP932("指定されたブックは、\r\nスタートブックに設定されています。"
                                    "\r\n名前を変更することはできません。"));
}

std::optional<EditVerdict> renameProblem(TComicFileCtrl& comic, TCmdCtrl& syntax,
                                         const TreeNode& node, std::string_view name) {
    if (std::optional<EditMessage> refusal = checkRename(comic, node))
        return EditVerdict{std::nullopt, std::move(refusal)};
    if (name == node.name() || !syntax.CheckName(name))
        return EditVerdict::unchanged();
    if (contains(siblingNames(comic, node), name))
        return nameInUse(node);
    return std::nullopt;
}

EditVerdict renameNode(TComicFileCtrl& comic, TCmdCtrl& syntax, const TreeNode& node,
                       std::string_view name) {
    return renameNodeAndReferences(comic, syntax, node, name, ReferenceUpdate::Keep).verdict;
}

NameTarget referenceTarget(const TreeNode& node) {
    return isPage(node) ? NameTarget{NameKind::Page, node.page, node.book}
                        : NameTarget{NameKind::Book, node.book};
}

RenameVerdict renameNodeAndReferences(TComicFileCtrl& comic, TCmdCtrl& syntax, const TreeNode& node,
                                      std::string_view name, ReferenceUpdate update) {
    RenameVerdict result;
    result.verdict = asStep(
        comic, labelFor(node, PAGORA_CP932("ブック名の変更"), PAGORA_CP932("ページ名の変更")),
        placeOf(node), [&]() -> EditVerdict {
            if (std::optional<EditVerdict> problem = renameProblem(comic, syntax, node, name))
                return *problem;
            if (isPage(node))
                comic.RenamePage(node.book, node.page, name);
            else
                comic.RenameBook(node.book, name);
            const TreeNode renamed = node.named(std::string(name));
            if (update == ReferenceUpdate::Rewrite)
                result.references =
                    rewriteReferences(comic, {referenceTarget(node), std::string(name)});
            return EditVerdict::doneAt(placeOf(renamed));
        });
    return result;
}

std::optional<EditMessage> checkDelete(TComicFileCtrl& comic, const TreeNode& node) {
    if (siblingNames(comic, node).size() == 1)
        return information(isPage(node)
                               ? PAGORA_CP932("ブックには、最低１つのページが必要です。\r\n"
                                              "ページを削除することはできません。")
                               : PAGORA_CP932("コミックには、最低１つのブックが必要です。\r\n"
                                              "ブックを削除することはできません。"));
    if (isStartNode(comic, node))
        return information(isPage(node)
                               ? PAGORA_CP932("指定されたページは、\r\nスタートページに設定されてい"
                                              "ます。\r\n削除することはできません。")
                               : PAGORA_CP932("指定されたブックは、\r\nスタートブックに設定されてい"
                                              "ます。\r\n削除することはできません。"));
    return std::nullopt;
}

EditVerdict deleteNode(TComicFileCtrl& comic, const TreeNode& node) {
    return asStep(
        comic, labelFor(node, PAGORA_CP932("ブックの削除"), PAGORA_CP932("ページの削除")),
        placeOf(node), [&]() -> EditVerdict {
            if (std::optional<EditMessage> refusal = checkDelete(comic, node))
                return {std::nullopt, std::move(refusal)};
            if (isPage(node)) {
                comic.DeletePage(node.book, node.page);
                return EditVerdict::doneAt({node.book, firstOf(comic.GetPageList(node.book)), -1});
            }
            comic.DeleteBook(node.book);
            return EditVerdict::doneAt({firstOf(comic.GetBookList()), {}, -1});
        });
}

std::optional<TreeMove> decodeDrop(TComicFileCtrl& comic, const TreeNode& source,
                                   const TreeNode& target) {
    if (source.level == TreeLevel::Root)
        return std::nullopt;
    TreeMove move{source, target.book, target.page, false};
    switch (target.level) {
    case TreeLevel::Page:
        break;
    case TreeLevel::Book:
        move.targetPage = firstOf(comic.GetPageList(target.book));
        move.before = isPage(source);
        break;
    case TreeLevel::Root: {
        const std::vector<std::string> books = comic.GetBookList();
        if (isPage(source) || books.empty())
            return std::nullopt;
        move.targetBook = books.front();
        move.before = true;
        break;
    }
    }
    return move;
}

std::optional<EditMessage> checkMove(TComicFileCtrl& comic, const TreeMove& move) {
    const TreeNode& source = move.source;
    if (!isPage(source))
        return std::nullopt;
    if (comic.GetPageList(source.book).size() == 1)
        return information(PAGORA_CP932("ブックには、最低１つのページが必要です。\r\n"
                                        "ページを移動することはできません。"));
    if (move.toAnotherBook()) {
        if (comic.PageExists(move.targetBook, source.page))
            return EditMessage{MessageKind::Warning,
                               PAGORA_CP932("移動先のブックに同名のページが存在します\n"
                                            "移動することはできません")};
    } else if (move.targetPage == source.page) {
        return EditMessage{
            MessageKind::Error,
            PAGORA_CP932("移動先と移動元のページが同じです\n移動することはできません")};
    }
    return std::nullopt;
}

EditVerdict moveNode(TComicFileCtrl& comic, const TreeMove& move) {
    return asStep(comic,
                  labelFor(move.source, PAGORA_CP932("ブックの移動"), PAGORA_CP932("ページの移動")),
                  placeOf(move.source), [&]() -> EditVerdict {
                      if (std::optional<EditMessage> refusal = checkMove(comic, move))
                          return {std::nullopt, std::move(refusal)};
                      const TreeNode& source = move.source;
                      if (isPage(source)) {
                          comic.MovePage(move.targetBook, move.targetPage, move.before, source.page,
                                         source.book);
                          return EditVerdict::doneAt({move.targetBook, source.page, -1});
                      }
                      if (move.targetBook == source.book)
                          return EditVerdict::unchanged();
                      comic.MoveBook(move.targetBook, source.book, move.before);
                      return EditVerdict::doneAt({source.book, {}, -1});
                  });
}

} // namespace pagora
