#include "dialog_fixture.h"

#include "platform/encoding.h"

#include <QDialog>
#include <algorithm>

namespace pagora::test {

std::string ServicesTest::sj(std::string_view utf8) {
    return toCp932(utf8);
}

DialogTest::DialogTest()
    : services{prompter,
               settings,
               help,
               folder.path() / "help",
               [this](const QString& text) { errorBoxes.push_back(text); },
               [this](QDialog& dialog) {
                   return modal(dialog);
               }} {
    comic.CreateNew();
}

void DialogTest::openComic(const std::vector<std::string>& utf8Lines, const std::string& name) {
    file.fileName = folder.write(name, comicFileBytes(utf8Lines));
    comic.LoadFromFile(file.fileName);
    flags.LoadFlags();
}

std::string utf8Messages(const ScriptedPrompter& prompter) {
    std::string texts;
    for (const std::string& text : prompter.messages())
        texts += toUtf8(text) + "\n";
    return texts;
}

std::vector<std::string> comicWithVariables() {
    std::vector<std::string> lines = sampleComicLines();
    const auto headEnd = std::ranges::find(lines, std::string("<Head End>"));
    lines.insert(headEnd + 1, {"<Head=\"ValueFlag\">", "score=10", "回数=0", "<Head End>",
                               "<Head=\"StringFlag\">", "name=花子", "天気=晴れ", "<Head End>"});
    return lines;
}

} // namespace pagora::test
