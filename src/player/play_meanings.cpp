#include "player/play_meanings.h"

#include <algorithm>
#include <cstdint>

namespace pagora {

const KindMeaning& kindMeaning(CmdKind kind) {
    static constexpr KindMeaning kNothing{CmdKind::Comment, WaitRule::Never, false};
    const auto found = std::find_if(kKindMeanings.begin(), kKindMeanings.end(),
                                    [kind](const KindMeaning& row) { return row.kind == kind; });
    return found == kKindMeanings.end() ? kNothing : *found;
}

TimeLimit timeLimitOf(CmdKind kind, const TOptParam& option) {
    if (!kindMeaning(kind).takesTimeLimit)
        return {};
    if (option.Time >= 1)
        return {option.Time, true};
    if (option.TimeHide > 0)
        return {option.TimeHide, false};
    return {};
}

bool compareNumbers(int op, int left, int right) {
    switch (op) {
    case 0:
        return left == right;
    case 1:
        return left != right;
    case 2:
        return left >= right;
    case 3:
        return left <= right;
    case 4:
        return left > right;
    case 5:
        return left < right;
    default:
        return false;
    }
}

bool compareTexts(int op, std::string_view left, std::string_view right) {
    switch (op) {
    case 0:
        return left == right;
    case 1:
        return left != right;
    case 6:
        return left.find(right) != std::string_view::npos;
    default:
        return false;
    }
}

std::optional<int> flagOperation(int operation, int value) {
    switch (operation) {
    case 0:
        return 1;
    case 1:
        return 0;
    case 2:
        return value != 0 ? 0 : 1;
    default:
        return std::nullopt;
    }
}

namespace {

// Two's complement wrap-around, as 32-bit arithmetic without overflow checks.
int wrapped(std::int64_t value) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

} // namespace

std::optional<ValueResult> valueOperation(int op, int left, int right) {
    const std::int64_t a = left, b = right;
    switch (op) {
    case 1:
        return ValueResult{wrapped(a + b)};
    case 2:
        return ValueResult{wrapped(a - b)};
    case 3:
        return ValueResult{wrapped(a * b)};
    case 4:
        return b == 0 ? ValueResult{0, true} : ValueResult{wrapped(a / b)};
    case 5:
        return b == 0 ? ValueResult{0, true} : ValueResult{wrapped(a % b)};
    default:
        return std::nullopt;
    }
}

namespace {

// The row of a number, or the fallback row for a number outside the table.
template <typename Row, std::size_t Size>
const Row& rowOf(const std::array<Row, Size>& table, int number, std::size_t fallback) {
    if (number < 0 || number >= static_cast<int>(Size))
        return table[fallback];
    return table[static_cast<std::size_t>(number)];
}

} // namespace

const ModeMeaning& modeMeaning(int mode) {
    return rowOf(kModeMeanings, mode, 1);
}

const SpeedMeaning& speedMeaning(int speed) {
    return rowOf(kSpeedMeanings, speed, 0);
}

const EffectMeaning& effectMeaning(int effect) {
    return rowOf(kEffectMeanings, effect, 0);
}

int areaImagePart(int imageDivision, AreaState state) {
    const int wanted = static_cast<int>(state);
    return std::clamp(wanted, 0, std::max(imageDivision, 1) - 1);
}

} // namespace pagora
