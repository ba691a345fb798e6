#pragma once

#include "document/cmd_ctrl.h"
#include "document/play_windows.h"
#include "platform/scripted_prompter.h"
#include "platform/string_map.h"
#include "player/play_event.h"
#include "player/play_variables.h"

#include <array>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class Clock;
class RandomSource;
class TComicFileCtrl;

// One of the six windows at play.
struct PlayWindowState {
    PlayWindowLook look; // size, place and font from the header
    bool shown = false;
    std::string picture; // the last picture drawn in it, empty for none
    std::string text;    // the last message, empty once a temporary one is gone
    bool textKept = false;
    std::vector<PlayArea> areas; // in the order they were made
};

// A comic at play, without any display: it runs the lines of a page in order
// and stops at every point where the reader acts or time passes, handing one
// event at a time to a front end (the preview window, pagora-cli play).
//
// A front end calls next() for an event and shows it. Then, by the event's
// wait: None, it calls next() again at once; Time, it calls next() when the
// wait or the sound is over; Reader, it calls answer() with what the reader
// did (a refused answer leaves the session waiting) and then next(). After
// an event of PlayEnded every next() gives it again. The state (variables,
// place, windows, areas, music) can be read between events.
//
// The comic is read, never changed, and must not change while the session
// lives: pages are read into records once, when play first enters them.
class PlaySession {
public:
    PlaySession(const TComicFileCtrl& comic, const Clock& clock, RandomSource& random);

    // Plays from the first line of a page (or of the comic's start page),
    // everything as at the start: initial variables, no call, only the main
    // window shown, no area, no music, no save slot.
    void start(std::string_view book, std::string_view page);
    void startAtStartPage();

    PlayEvent next();
    // True when the waiting event takes the answer. A click on an area
    // leads where the area leads after the next event (AreaSelected).
    bool answer(const PlayAnswer& answer);

    bool ended() const { return ended_.has_value(); }
    // The event that waits for the reader, if any.
    const PlayEvent* waitingFor() const { return waiting_ ? &*waiting_ : nullptr; }
    // The line that runs next.
    PlayPlace place() const;
    // The lines a Return goes back to, the latest last.
    const std::vector<PlayPlace>& callStack() const { return calls_; }
    const PlayWindowState& window(int windowNo) const;
    const std::string& music() const { return music_; }
    const PlayVariables& variables() const { return variables_; }
    // Whether any fault (not a warning) was reported.
    bool faulted() const { return faulted_; }

    // The area under a point of the main window (for the mouse-over state
    // and cursor), with its window; none when no shown window's area is there.
    struct AreaHit {
        int window;
        std::size_t index;
    };
    std::optional<AreaHit> areaAt(int x, int y) const;

private:
    struct PreparedLine {
        CmdKind kind = CmdKind::Comment;
        CmdRecord record;
        std::string unreadable;            // why the line could not be read, CP932
        std::vector<std::string> warnings; // what reading it told (a bad condition)
    };
    struct PreparedPage {
        std::string book;
        std::string name;
        std::vector<PreparedLine> lines;
    };

    const PreparedPage* findPage(std::string_view book, std::string_view page);
    PreparedLine prepareLine(std::string_view line);

    void step();
    void runLine(const PreparedLine& line);
    void run(const TCmdMsgDlg& record);
    void run(const TCmdGraphic& record);
    void run(const TCmdMusic& record);
    void run(const TCmdSound& record);
    void run(const TCmdWaitTime& record);
    void run(const TCmdFlagCtrl& record);
    void run(const TCmdSelectDlg& record);
    void run(const TCmdPageJump& record);
    void run(const TCmdMouseClick& record);
    void run(const TCmdValueCtrl& record);
    void run(const TCmdStringCtrl& record);
    void run(const TCmdClickAble& record);
    void run(const TCmdClickAbleClear& record);
    void run(const TCmdStrInput& record);
    void run(const TCmdWindowShow& record);
    void run(const TCmdSystem& record);
    void run(std::monostate) {}

    bool conditionHolds(const TOptParam& option);
    std::optional<int> operand(std::string_view text);
    void runSaveOrLoad(const TCmdSystem& record);

    // Goes to the first line of a page; a page that does not exist is a
    // fault that ends play.
    void jump(std::string_view book, std::string_view page);
    void call(std::string_view book, std::string_view page);
    void returnFromCall();

    // Queues an event for the front end.
    void post(PlayDetail detail, PlayWait wait = PlayWait::None);
    void fault(std::string message, FaultLevel level = FaultLevel::Fault);
    void unreadable(std::string_view why);
    void end(EndReason reason);
    // Turns what the variables and the syntax told into faults, each text once.
    void reportNotes();

    bool takeClick(int x, int y, bool areasActive);
    void selectArea(const AreaHit& hit);
    PlayWindowState& windowAt(int windowNo);

    const TComicFileCtrl& comic_;
    ScriptedPrompter notes_; // what the core's readers tell, collected
    PlayVariables variables_;
    StringTable<std::optional<PreparedPage>> pages_; // read on first entry; empty: no such page

    PlayPlace startPlace_; // where play was asked to start, for a fault before any line ran
    const PreparedPage* page_ = nullptr;
    int line_ = 0;                              // the next line to run
    const PreparedPage* runningPage_ = nullptr; // the line being run, for the place of its events
    int running_ = 0;
    int linesWithoutWait_ = 0;
    std::vector<PlayPlace> calls_;
    std::array<PlayWindowState, kPlayWindowCount> windows_;
    std::string music_;

    std::deque<PlayEvent> queue_;
    std::optional<PlayEvent> waiting_;
    std::optional<PlayEvent> ended_;
    std::set<std::string> told_; // fault texts already reported
    bool faulted_ = false;
};

} // namespace pagora
