#include "player/play_clock.h"

#include <chrono>
#include <cstdio>

namespace pagora {
namespace {

using namespace std::chrono;

std::int64_t secondsOf(const LocalTime& time) {
    const sys_days day = year_month_day{year{time.year}, month{static_cast<unsigned>(time.month)},
                                        std::chrono::day{static_cast<unsigned>(time.day)}};
    return day.time_since_epoch().count() * 86400LL + time.hour * 3600LL + time.minute * 60LL +
           time.second;
}

LocalTime timeOf(std::int64_t seconds) {
    const sys_days day{days{seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400}};
    const std::int64_t inDay = seconds - day.time_since_epoch().count() * 86400LL;
    const year_month_day date{day};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(inDay / 3600),
            static_cast<int>(inDay / 60 % 60),
            static_cast<int>(inDay % 60),
            static_cast<int>(weekday{day}.c_encoding())};
}

} // namespace

SteppedClock::SteppedClock(LocalTime start)
    : startSeconds_(secondsOf(start)) {
}

LocalTime SteppedClock::now() const {
    return timeOf(startSeconds_ + ticks_ / 1000);
}

std::optional<LocalTime> parseLocalTime(std::string_view text) {
    LocalTime time;
    char end = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &time.year, &time.month, &time.day,
                    &time.hour, &time.minute, &time.second, &end) != 6)
        return std::nullopt;
    const year_month_day date{year{time.year}, month{static_cast<unsigned>(time.month)},
                              day{static_cast<unsigned>(time.day)}};
    if (!date.ok() || time.hour > 23 || time.minute > 59 || time.second > 59 || time.hour < 0 ||
        time.minute < 0 || time.second < 0 || copy.size() != 19)
        return std::nullopt;
    return timeOf(secondsOf(time));
}

int SeededRandom::below(int bound) {
    // The engine's numbers are the same everywhere; a distribution's are not.
    if (bound <= 0)
        return 0;
    return static_cast<int>(engine_() % static_cast<std::uint32_t>(bound));
}

} // namespace pagora
