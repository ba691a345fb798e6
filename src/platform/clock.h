#pragma once

#include <cstdint>
#include <random>

namespace pagora {

// A moment of local time as the calendar shows it.
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
    int weekday = 0; // 0 Sunday to 6 Saturday
};

// The time of day and a millisecond tick count, injectable so that tests can
// fix both.
class Clock {
public:
    virtual ~Clock() = default;

    virtual LocalTime now() const = 0;
    // Milliseconds on a monotonic count with an arbitrary start.
    virtual std::int64_t ticksMs() const = 0;
};

// Local time from the C library, ticks from the steady clock.
class SystemClock : public Clock {
public:
    LocalTime now() const override;
    std::int64_t ticksMs() const override;
};

// A source of random integers, injectable so that tests can fix the draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    // Starts a new, unpredictable sequence.
    virtual void reseed() = 0;
    // A number from 0 to bound - 1; 0 when bound is 0 or negative.
    virtual int below(int bound) = 0;
};

// A Mersenne Twister seeded from the system's random device and the clock.
class SystemRandom : public RandomSource {
public:
    SystemRandom();

    void reseed() override;
    int below(int bound) override;

private:
    std::mt19937 engine_;
};

} // namespace pagora
