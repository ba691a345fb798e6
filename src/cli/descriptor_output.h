#pragma once

#include <streambuf>

namespace pagora {

// An unbuffered stream buffer that writes to an open file descriptor and
// keeps the system's error number of the write that failed, which a file
// stream loses.
class DescriptorOutput : public std::streambuf {
public:
    explicit DescriptorOutput(int descriptor)
        : descriptor_(descriptor) {}

    // 0 while every write succeeded.
    int errorNumber() const { return errorNumber_; }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int_type overflow(int_type byte) override;

private:
    int descriptor_;
    int errorNumber_ = 0;
};

} // namespace pagora
