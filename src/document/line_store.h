#pragma once

#include <string>
#include <vector>

namespace pagora {

// The lines of a comic body in a gap buffer: inserting and deleting lines
// costs time in proportion to the distance from the previous edit, not to the
// size of the comic, so editing one page stays fast in a very large comic.
class LineStore {
public:
    void assign(std::vector<std::string> lines);

    int size() const { return static_cast<int>(buffer_.size() - gapLength()); }
    const std::string& operator[](int position) const {
        const auto index = static_cast<std::size_t>(position);
        return buffer_[index < gapStart_ ? index : index + gapLength()];
    }

    void insert(int position, std::vector<std::string> lines);
    // Returns the line it replaced.
    std::string replace(int position, std::string line);
    void erase(int position, int count);
    // Erases the lines and hands them back.
    std::vector<std::string> take(int position, int count);

    std::vector<std::string> toVector() const;

private:
    std::size_t gapLength() const { return gapEnd_ - gapStart_; }
    void moveGapTo(std::size_t position);
    void reserveGap(std::size_t length);

    std::vector<std::string> buffer_;
    std::size_t gapStart_ = 0; // the gap is buffer_[gapStart_, gapEnd_)
    std::size_t gapEnd_ = 0;
};

} // namespace pagora
