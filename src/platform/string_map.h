#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace pagora {

// A map from strings to values that only grows, for the per-run memos that
// are asked about on nearly every line: it is searched with a view (no copy of
// the probe), and its slots are one flat array of hash tags and entry numbers,
// so that a search touches about two cache lines where a node-based map
// touches three or more. References to values stay valid as the map grows.
template <typename Value> class StringTable {
public:
    Value* find(std::string_view key) {
        const std::size_t number = numberOfKey(key);
        return number == kNone ? nullptr : &entries_[number].second;
    }
    const Value* find(std::string_view key) const {
        const std::size_t number = numberOfKey(key);
        return number == kNone ? nullptr : &entries_[number].second;
    }

    // The value of key, added when there is none.
    template <typename... Args> Value& emplace(std::string_view key, Args&&... args) {
        if (Value* found = find(key))
            return *found;
        if ((entries_.size() + 1) * 2 > slots_.size())
            grow();
        entries_.emplace_back(std::piecewise_construct, std::forward_as_tuple(key),
                              std::forward_as_tuple(std::forward<Args>(args)...));
        place(hashOf(key), entries_.size() - 1);
        return entries_.back().second;
    }

    std::size_t size() const { return entries_.size(); }
    // Keys and values in the order they were added.
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }
    void clear() {
        slots_.clear();
        entries_.clear();
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t numberOfKey(std::string_view key) const {
        if (slots_.empty())
            return kNone;
        const std::size_t hash = hashOf(key);
        for (std::size_t at = hash & mask(); slots_[at] != 0; at = (at + 1) & mask()) {
            const std::uint64_t slot = slots_[at];
            if (tagOf(slot) == tagOf(hash) && entries_[numberOf(slot)].first == key)
                return numberOf(slot);
        }
        return kNone;
    }
    static std::size_t hashOf(std::string_view key) { return std::hash<std::string_view>()(key); }
    // A slot holds the upper half of its key's hash and the entry number plus
    // one; 0 is a free slot.
    static std::uint64_t tagOf(std::uint64_t value) { return value >> 32; }
    static std::size_t numberOf(std::uint64_t slot) { return (slot & 0xFFFFFFFFu) - 1; }
    std::size_t mask() const { return slots_.size() - 1; }

    void place(std::size_t hash, std::size_t number) {
        std::size_t at = hash & mask();
        while (slots_[at] != 0)
            at = (at + 1) & mask();
        slots_[at] = tagOf(hash) << 32 | (number + 1);
    }
    void grow() {
        slots_.assign(slots_.empty() ? 16 : slots_.size() * 2, 0);
        for (std::size_t number = 0; number < entries_.size(); ++number)
            place(hashOf(entries_[number].first), number);
    }

    std::vector<std::uint64_t> slots_; // size a power of two, at most half used
    std::deque<std::pair<std::string, Value>> entries_;
};

} // namespace pagora
