#pragma once

#include "editor_fixture.h"

#include <algorithm>

namespace pagora::test {

// A main window over a comic that declares the numeric variables score and
// 回数 and the string variables name and 天気, in this order.
class VariablesTest : public EditorTest {
protected:
    static std::vector<std::string> comicWithVariables() {
        std::vector<std::string> lines = sampleComicLines();
        const auto headEnd = std::ranges::find(lines, std::string("<Head End>"));
        lines.insert(headEnd + 1,
                     {"<Head=\"ValueFlag\">", "score=10", "回数=0", "<Head End>",
                      "<Head=\"StringFlag\">", "name=花子", "天気=晴れ", "<Head End>"});
        return lines;
    }

    std::unique_ptr<TfrmMain> window = makeWindow(writeComic("flags.csf", comicWithVariables()));
};

} // namespace pagora::test
