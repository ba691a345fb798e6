#pragma once

#include "platform/clock.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pagora::fuzz {

// Stops the run when a property that must hold does not; libFuzzer keeps the input.
void require(bool condition);

std::string_view asText(const std::uint8_t* data, std::size_t size);

// The input cut at every occurrence of separator, at most most parts (the last
// holds the rest).
std::vector<std::string_view> splitInput(std::string_view input, char separator, std::size_t most);

// Whether path, made lexically normal, lies inside folder (or is folder).
bool liesInside(const std::filesystem::path& path, const std::filesystem::path& folder);

// A clock that stands still, so that runs repeat exactly.
class FixedClock : public Clock {
public:
    LocalTime now() const override { return {2024, 4, 1, 9, 30, 15, 1}; }
    std::int64_t ticksMs() const override { return 1000; }
};

// Draws the same number every time.
class FixedRandom : public RandomSource {
public:
    void reseed() override {}
    int below(int bound) override { return bound > 0 ? bound / 2 : 0; }
};

} // namespace pagora::fuzz
