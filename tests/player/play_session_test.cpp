// The session as a front end drives it: one event at a time, answers, and
// the state read between events.
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"
#include "player/play_clock.h"
#include "player/play_session.h"
#include "player/play_trace.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicFileBytes;

class Session : public testing::Test {
protected:
    void load(std::vector<std::string> utf8Lines) {
        comic.LoadFromBytes(comicFileBytes(utf8Lines));
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    SteppedClock clock{LocalTime{2026, 12, 8, 10, 0, 0, 2}};
    SeededRandom random{7};
    PlaySession session{comic, clock, random};
};

// A comic whose user window 1 stands at 195, 5 (120 x 60) and whose page
// makes an area in it and in the main window, then waits for a click.
const std::vector<std::string> kAreas = {
    "<Head=\"Comic\">",
    "StartBook=本",
    "StartPage=始",
    "<Head End>",
    "<Book=\"本\">",
    "<Page=\"始\">",
    "Music \"m.mid\",0,",
    "WindowShow 1,\"/WIN:3\"",
    "ClickAble \"本\",\"甲\",\"\",0,0,1,0,\"/POS:10,10,50,50\"",
    "ClickAble \"本\",\"乙\",\"b.bmp\",3,1,0,1,\"/POS:12,14,108,46\",\"/WIN:3\"",
    "MouseClick 1,",
    "<Page End>",
    "<Page=\"甲\">",
    "MusicStop",
    "<Page End>",
    "<Page=\"乙\">",
    "MouseClick 0,",
    "System \"Return\",",
    "<Page End>",
    "<Book End>",
    "<Head=\"UserWindow1\">",
    "ImageWidth=120",
    "ImageHeight=60",
    "RelativeToMainX=195",
    "RelativeToMainY=5",
    "<Head End>",
    "<Head=\"ValueFlag\">",
    "a=3",
    "<Head End>"};

TEST_F(Session, AFrontEndReadsTheStateBetweenEvents) {
    load(kAreas);
    session.startAtStartPage();
    for (int event = 0; event < 4; ++event)
        EXPECT_EQ(session.next().wait, PlayWait::None);
    EXPECT_EQ(session.music(), "m.mid");
    EXPECT_TRUE(session.window(3).shown);
    EXPECT_FALSE(session.window(1).shown);
    ASSERT_EQ(session.window(3).areas.size(), 1u);
    EXPECT_TRUE(session.window(3).areas[0].callSubroutine);

    const PlayEvent wait = session.next();
    EXPECT_EQ(wait.wait, PlayWait::Reader);
    EXPECT_EQ(wait.place, (PlayPlace{toCp932("本"), toCp932("始"), 4}));
    // Asked again before an answer, the session hands the same wait.
    EXPECT_EQ(session.next().place, wait.place);
    ASSERT_NE(session.waitingFor(), nullptr);

    // The user window lies over the main window and holds its own area.
    const auto overButton = session.areaAt(195 + 20, 5 + 20);
    ASSERT_TRUE(overButton.has_value());
    EXPECT_EQ(overButton->window, 3);
    EXPECT_FALSE(session.areaAt(195 + 5, 5 + 5).has_value()); // covers what lies behind
    EXPECT_EQ(session.areaAt(20, 20)->window, 0);
    EXPECT_FALSE(session.areaAt(5, 5).has_value());

    EXPECT_FALSE(session.answer(PlayAnswer::click(5, 5))); // no area, areas only
    EXPECT_TRUE(session.answer(PlayAnswer::click(215, 25)));
    EXPECT_FALSE(session.answer(PlayAnswer::key())); // nothing waits any more
    EXPECT_TRUE(std::holds_alternative<AreaSelected>(session.next().detail));
    EXPECT_TRUE(std::holds_alternative<AreasCleared>(session.next().detail));
    EXPECT_TRUE(session.window(3).areas.empty());
    EXPECT_EQ(session.next().wait, PlayWait::Reader); // the called page's click wait
    ASSERT_EQ(session.callStack().size(), 1u);
    EXPECT_EQ(session.callStack()[0], (PlayPlace{toCp932("本"), toCp932("始"), 5}));
    EXPECT_EQ(session.variables().numbers()[0].Value, 3);

    EXPECT_TRUE(session.answer(PlayAnswer::key()));
    const PlayEvent end = session.next();
    EXPECT_EQ(std::get<PlayEnded>(end.detail).reason, EndReason::PageEnd);
    EXPECT_EQ(end.place, (PlayPlace{toCp932("本"), toCp932("始"), 5}));
    EXPECT_TRUE(session.ended());
    EXPECT_EQ(session.next().place, end.place); // the end again
    EXPECT_FALSE(session.faulted());
}

TEST_F(Session, StartingAgainPlaysFromScratch) {
    load(kAreas);
    session.start(toCp932("本"), toCp932("甲"));
    EXPECT_TRUE(std::holds_alternative<MusicStopped>(session.next().detail));
    session.start(toCp932("本"), toCp932("始"));
    session.next();
    session.next();
    session.start(toCp932("本"), toCp932("乙"));
    EXPECT_TRUE(std::holds_alternative<ClickWaited>(session.next().detail));
    EXPECT_FALSE(session.window(3).shown);
    EXPECT_TRUE(session.window(3).areas.empty());
    EXPECT_EQ(session.music(), "");
    EXPECT_TRUE(session.window(0).shown);
}

TEST_F(Session, AMissingStartPageIsAFaultAtThatPage) {
    load(kAreas);
    EXPECT_EQ(std::get<PlayEnded>(session.next().detail).reason, EndReason::PageEnd); // not started
    session.start(toCp932("本"), toCp932("無い"));
    const PlayEvent fault = session.next();
    EXPECT_TRUE(std::holds_alternative<PlayFault>(fault.detail));
    EXPECT_EQ(fault.place, (PlayPlace{toCp932("本"), toCp932("無い"), 0}));
    EXPECT_EQ(std::get<PlayEnded>(session.next().detail).reason, EndReason::Fault);
    EXPECT_TRUE(session.faulted());
}

TEST_F(Session, MessagesTakeAClickOnAnAreaOnlyWhenAreasAreOn) {
    load({"<Head=\"Comic\">", "StartBook=本", "StartPage=始", "<Head End>", "<Book=\"本\">",
          "<Page=\"始\">", "ClickAble \"本\",\"甲\",\"\",0,1,1,0,\"/POS:10,10,50,50\"",
          "MsgDlg \"off\",0,\"None\",\"Normal\",0,1,0,",
          "MsgDlg \"on\",1,\"None\",\"Normal\",0,1,1,", "<Page End>", "<Page=\"甲\">", "// ",
          "<Page End>", "<Book End>"});
    session.startAtStartPage();
    session.next(); // the area
    EXPECT_EQ(std::get<MessageShown>(session.next().detail).text, "off");
    EXPECT_TRUE(session.answer(PlayAnswer::click(20, 20))); // a key, not the area
    EXPECT_EQ(std::get<MessageShown>(session.next().detail).text, "on");
    EXPECT_TRUE(session.window(0).textKept);
    EXPECT_TRUE(session.answer(PlayAnswer::click(20, 20)));
    EXPECT_TRUE(std::holds_alternative<AreaSelected>(session.next().detail));
    EXPECT_TRUE(std::holds_alternative<AreasCleared>(session.next().detail));
    EXPECT_TRUE(session.window(0).areas.empty());
    EXPECT_EQ(session.next().place, (PlayPlace{toCp932("本"), toCp932("甲"), 1}));
}

TEST(AnswersFile, KeepsATypedTextAsItStandsAndRefusesControlCharactersInIt) {
    const std::vector<PlayAnswer> answers =
        readAnswers("text \xE3\x81\x82 b \r\nclick 3 -4\n\nchoose 2\n");
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].text, toCp932("あ b "));
    EXPECT_EQ(answers[1].kind, PlayAnswer::Kind::Click);
    EXPECT_EQ(answers[1].y, -4);
    EXPECT_EQ(answers[2].choice, 1);
    for (const char* refused :
         {"text a\tb", "text a\x1e", "text \x7f", "choose 0", "click 3", "key now"})
        EXPECT_THROW(readAnswers(refused), AnswersError) << refused;
}

} // namespace
} // namespace pagora
