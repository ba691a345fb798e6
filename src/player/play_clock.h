#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

namespace pagora {

// A clock that stands still at a given moment until it is told that time
// passed, so that a played comic's date, time and elapsed seconds repeat.
class SteppedClock : public Clock {
public:
    explicit SteppedClock(LocalTime start);

    LocalTime now() const override;
    std::int64_t ticksMs() const override { return ticks_; }
    void advance(std::int64_t milliseconds) { ticks_ += milliseconds; }

private:
    std::int64_t startSeconds_; // seconds since 1970-01-01 00:00 of the start, as local time
    std::int64_t ticks_ = 0;
};

// "2026-12-08T10:00:00" as a local time (its weekday worked out); empty when
// the text is not such a moment.
std::optional<LocalTime> parseLocalTime(std::string_view text);

// Random numbers that repeat from a seed: every reseed starts the same
// sequence again.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed)
        : seed_(seed)
        , engine_(seed) {}

    void reseed() override { engine_.seed(seed_); }
    int below(int bound) override;

private:
    std::uint32_t seed_;
    std::mt19937 engine_;
};

} // namespace pagora
