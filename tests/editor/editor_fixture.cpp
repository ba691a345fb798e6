#include "editor_fixture.h"

#include "platform/encoding.h"

#include <QCoreApplication>
#include <QDialog>

namespace pagora::test {

std::string comicFileBytes(const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const std::string& line : utf8Lines)
        bytes.append(toCp932(line)).append("\r\n");
    return bytes;
}

namespace {

void addPage(std::vector<std::string>& lines, const std::string& name, int count) {
    lines.push_back("<Page=\"" + name + "\">");
    for (int i = 0; i < count; ++i)
        lines.push_back("MsgDlg \"" + name + " " + std::to_string(i) +
                        "\",0,\"None\",\"Normal\",0,1,0,");
    lines.push_back("<Page End>");
}

} // namespace

std::vector<std::string> sampleComicLines(const std::vector<std::string>& extraHeader) {
    std::vector<std::string> lines = {"<Head=\"Comic\">", "FileType=PGR95", "CmdVer=15",
                                      "StartBook=第一章", "StartPage=はじまり"};
    lines.insert(lines.end(), extraHeader.begin(), extraHeader.end());
    lines.push_back("<Head End>");
    lines.push_back("<Book=\"第一章\">");
    addPage(lines, "はじまり", 5);
    addPage(lines, "次", 3);
    lines.push_back("<Book End>");
    lines.push_back("<Book=\"第二章\">");
    addPage(lines, "居間", 10);
    lines.push_back("<Book End>");
    return lines;
}

EditorTest::EditorTest()
    : services{prompter,
               settings,
               clock,
               random,
               launcher,
               help,
               folder.path() / "program",
               folder.path() / "help",
               [this] { return wineProgram; },
               [this](const QString& text) { errorBoxes.push_back(text); },
               [this](QDialog& dialog) { return modal(dialog); },
               [this](SetupRun run, bool) { setupRuns.push_back(run); },
               folder.path() / "autosave"} {
}

std::unique_ptr<TfrmMain> EditorTest::makeWindow(const std::optional<std::filesystem::path>& file) {
    return std::make_unique<TfrmMain>(services, file);
}

std::unique_ptr<TfrmMain> EditorTest::showWindow(const std::optional<std::filesystem::path>& file) {
    std::unique_ptr<TfrmMain> window = makeWindow(file);
    window->resize(640, 480);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

std::filesystem::path EditorTest::writeComic(const std::string& name,
                                             const std::vector<std::string>& utf8Lines) {
    return folder.write(name, comicFileBytes(utf8Lines));
}

std::filesystem::path EditorTest::writeSample(const std::string& name) {
    return writeComic(name, sampleComicLines());
}

std::string EditorTest::sj(std::string_view utf8) {
    return toCp932(utf8);
}

} // namespace pagora::test
