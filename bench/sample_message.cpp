#include "sample_message.h"

#include "platform/encoding.h"

#include <map>

namespace pagora::bench {

const std::string& sampleMessage(std::size_t characters) {
    static std::map<std::size_t, std::string> texts;
    std::string& text = texts[characters];
    if (!text.empty())
        return text;
    const std::string unit =
        toCp932("今日は<B>とても<N>良い天気です。Pagora で<+4>漫画<-4>を作りましょう！<clRed>"
                "赤い文字<clBlack>と<I>斜体</N>、そして改行。#");
    std::size_t counted = 0;
    for (std::size_t at = 0; counted < characters; counted += 1) {
        const bool pair = isCp932LeadByte(static_cast<unsigned char>(unit[at]));
        text.append(unit, at, pair ? 2 : 1);
        at = (at + (pair ? 2 : 1)) % unit.size();
    }
    return text;
}

} // namespace pagora::bench
