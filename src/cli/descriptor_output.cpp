#include "cli/descriptor_output.h"

#include <cerrno>
#include <unistd.h>

namespace pagora {

std::streamsize DescriptorOutput::xsputn(const char* bytes, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count && errorNumber_ == 0) {
        const ssize_t wrote = ::write(descriptor_, bytes + done, static_cast<size_t>(count - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            errorNumber_ = wrote < 0 ? errno : EIO;
        else
            done += wrote;
    }
    return done;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type byte) {
    if (traits_type::eq_int_type(byte, traits_type::eof()))
        return traits_type::not_eof(byte);
    const char c = traits_type::to_char_type(byte);
    return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

} // namespace pagora
