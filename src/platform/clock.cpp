#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace pagora {

LocalTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &seconds);
#else
    localtime_r(&seconds, &parts);
#endif
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
            parts.tm_min,         parts.tm_sec,     parts.tm_wday};
}

std::int64_t SystemClock::ticksMs() const {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
}

SystemRandom::SystemRandom() {
    reseed();
}

void SystemRandom::reseed() {
    // The device alone may be deterministic on some platforms; the clock makes
    // two runs differ anyway.
    std::random_device device;
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                       static_cast<unsigned>(static_cast<unsigned long long>(now) >> 32)};
    engine_.seed(seed);
}

int SystemRandom::below(int bound) {
    if (bound <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, bound - 1)(engine_);
}

} // namespace pagora
