#include "document/line_store.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace pagora {

void LineStore::assign(std::vector<std::string> lines) {
    buffer_ = std::move(lines);
    gapStart_ = gapEnd_ = buffer_.size();
}

void LineStore::insert(int position, std::vector<std::string> lines) {
    moveGapTo(static_cast<std::size_t>(position));
    reserveGap(lines.size());
    std::move(lines.begin(), lines.end(), buffer_.begin() + static_cast<long>(gapStart_));
    gapStart_ += lines.size();
}

std::string LineStore::replace(int position, std::string line) {
    const auto index = static_cast<std::size_t>(position);
    return std::exchange(buffer_[index < gapStart_ ? index : index + gapLength()], std::move(line));
}

void LineStore::erase(int position, int count) {
    moveGapTo(static_cast<std::size_t>(position));
    const auto first = buffer_.begin() + static_cast<long>(gapEnd_);
    std::fill(first, first + count, std::string());
    gapEnd_ += static_cast<std::size_t>(count);
}

std::vector<std::string> LineStore::take(int position, int count) {
    moveGapTo(static_cast<std::size_t>(position));
    const auto first = buffer_.begin() + static_cast<long>(gapEnd_);
    std::vector<std::string> taken(std::make_move_iterator(first),
                                   std::make_move_iterator(first + count));
    gapEnd_ += static_cast<std::size_t>(count);
    return taken;
}

std::vector<std::string> LineStore::toVector() const {
    std::vector<std::string> lines(buffer_.begin(), buffer_.begin() + static_cast<long>(gapStart_));
    lines.insert(lines.end(), buffer_.begin() + static_cast<long>(gapEnd_), buffer_.end());
    return lines;
}

void LineStore::moveGapTo(std::size_t position) {
    if (gapLength() == 0) { // nothing to move, and a string must not be moved onto itself
        gapStart_ = gapEnd_ = position;
        return;
    }
    const auto at = [this](std::size_t index) {
        return buffer_.begin() + static_cast<long>(index);
    };
    if (position < gapStart_) {
        std::move_backward(at(position), at(gapStart_), at(gapEnd_));
        gapEnd_ -= gapStart_ - position;
    } else if (position > gapStart_) {
        const std::size_t distance = position - gapStart_;
        std::move(at(gapEnd_), at(gapEnd_ + distance), at(gapStart_));
        gapEnd_ += distance;
    }
    gapStart_ = position;
}

void LineStore::reserveGap(std::size_t length) {
    if (gapLength() >= length)
        return;
    const std::size_t lines = buffer_.size() - gapLength();
    const std::size_t newGap = std::max(length, lines / 2 + 64);
    std::vector<std::string> grown(lines + newGap);
    std::move(buffer_.begin(), buffer_.begin() + static_cast<long>(gapStart_), grown.begin());
    std::move(buffer_.begin() + static_cast<long>(gapEnd_), buffer_.end(),
              grown.begin() + static_cast<long>(gapStart_ + newGap));
    buffer_ = std::move(grown);
    gapEnd_ = gapStart_ + newGap;
}

} // namespace pagora
