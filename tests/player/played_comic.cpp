#include "played_comic.h"

#include "document/comic_file.h"
#include "platform/scripted_prompter.h"
#include "player/play_clock.h"
#include "player/play_session.h"
#include "player/play_trace.h"
#include "support/comic_text.h"

#include <sstream>

namespace pagora::test {

std::string playedTrace(const std::vector<TestPage>& pages, const std::string& answers,
                        int maxEvents) {
    std::vector<std::string> lines = {"<Head=\"Comic\">", "StartBook=本",
                                      "StartPage=" + pages.front().name, "<Head End>",
                                      "<Book=\"本\">"};
    for (const TestPage& page : pages) {
        lines.push_back("<Page=\"" + page.name + "\">");
        lines.insert(lines.end(), page.lines.begin(), page.lines.end());
        lines.push_back("<Page End>");
    }
    lines.insert(lines.end(), {"<Book End>", "<Head=\"ValueFlag\">", "a=0", "b=5", "<Head End>",
                               "<Head=\"StringFlag\">", "s=はれ", "t=", "<Head End>"});
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    comic.LoadFromBytes(comicFileBytes(lines));
    SteppedClock clock(LocalTime{2026, 12, 8, 10, 0, 0, 2});
    SeededRandom random(1);
    PlaySession session(comic, clock, random);
    session.startAtStartPage();
    std::ostringstream trace;
    playTrace(session, readAnswers(answers), &clock, maxEvents, trace);
    return trace.str();
}

} // namespace pagora::test
