#pragma once

#include <string>
#include <vector>

namespace pagora::test {

// A page of a comic made in a test: its name and its lines (UTF-8).
struct TestPage {
    std::string name;
    std::vector<std::string> lines;
};

// Plays a comic of one book "本" holding the pages (play starts at the
// first), with the numeric variables a = 0, b = 5 and the string
// variables s = "はれ", t = "" declared, under a clock standing at Tuesday
// 2026-12-08 10:00:00 and random numbers from seed 1. Returns the trace,
// each line ended by "\n", the answers taken from answers (an answers file's
// text) and play stopped after maxEvents events.
std::string playedTrace(const std::vector<TestPage>& pages, const std::string& answers = "",
                        int maxEvents = 1000);

} // namespace pagora::test
