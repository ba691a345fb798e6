// How the reader's answers end a wait, and what clickable areas do.
#include "player/play_meanings.h"
#include "player/play_session.h"

#include <utility>

namespace pagora {

bool PlaySession::answer(const PlayAnswer& answer) {
    if (!waiting_)
        return false;
    using Kind = PlayAnswer::Kind;
    const PlayDetail& detail = waiting_->detail;
    bool taken = false;
    if (answer.kind == Kind::Timeout) {
        // A time-out ends the wait as if nothing was done: the next line runs.
        std::visit(
            [&](const auto& waited) {
                if constexpr (requires { waited.limit; })
                    taken = waited.limit.seconds > 0;
            },
            detail);
    } else if (const auto* message = std::get_if<MessageShown>(&detail)) {
        // A click that hits no active area answers as a key does.
        taken = answer.kind == Kind::Key || answer.kind == Kind::Click;
        if (answer.kind == Kind::Click)
            takeClick(answer.x, answer.y, message->clickAbleEnabled);
    } else if (const auto* click = std::get_if<ClickWaited>(&detail)) {
        if (answer.kind == Kind::Key)
            taken = !click->areasOnly;
        else if (answer.kind == Kind::Click)
            taken = takeClick(answer.x, answer.y, true) || !click->areasOnly;
    } else if (const auto* offered = std::get_if<ChoicesOffered>(&detail)) {
        taken = answer.kind == Kind::Choice && answer.choice >= 0 &&
                answer.choice < static_cast<int>(offered->choices.size());
        if (taken)
            jump(waiting_->place.book,
                 offered->choices[static_cast<std::size_t>(answer.choice)].page);
    } else if (const auto* asked = std::get_if<TextAsked>(&detail)) {
        taken = answer.kind == Kind::Text;
        if (taken)
            variables_.setText(asked->variable, answer.text);
    }
    if (taken) {
        waiting_.reset();
        reportNotes();
    }
    return taken;
}

// A click on an area that is active selects it; true when one was hit.
bool PlaySession::takeClick(int x, int y, bool areasActive) {
    if (!areasActive)
        return false;
    const std::optional<AreaHit> hit = areaAt(x, y);
    if (hit)
        selectArea(*hit);
    return hit.has_value();
}

void PlaySession::selectArea(const AreaHit& hit) {
    PlayWindowState& window = windowAt(hit.window);
    const PlayArea area = window.areas[hit.index];
    post(AreaSelected{hit.window, area});
    if (area.clearOnSelect) {
        window.areas.clear();
        post(AreasCleared{hit.window});
    }
    if (area.callSubroutine)
        call(area.book, area.page);
    else
        jump(area.book, area.page);
}

std::optional<PlaySession::AreaHit> PlaySession::areaAt(int x, int y) const {
    for (const int windowNo : kWindowsFrontFirst) {
        const PlayWindowState& window = windows_[static_cast<std::size_t>(windowNo)];
        const PlayWindowLook& look = window.look;
        const int localX = x - look.left, localY = y - look.top;
        if (!window.shown || localX < 0 || localY < 0 || localX >= look.width ||
            localY >= look.height)
            continue;
        // The latest area lies on top of those made before it.
        for (std::size_t index = window.areas.size(); index-- > 0;)
            if (window.areas[index].rect.contains(localX, localY))
                return AreaHit{windowNo, index};
        return std::nullopt; // the window covers what lies behind it
    }
    return std::nullopt;
}

} // namespace pagora
