#pragma once

#include <stdexcept>
#include <string>

namespace pagora {

// A step that cannot run: the script stops with status 2.
class StepError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A window, control, item or action that is not there (yet): the step is
// tried again on later turns before it counts as a StepError.
class LookupMiss : public StepError {
public:
    using StepError::StepError;
};

// An expect step whose control holds another value: the script stops with
// status 1.
class ExpectFailure : public std::runtime_error {
public:
    ExpectFailure(std::string control, std::string wanted, std::string found)
        : std::runtime_error("expect failed")
        , name(std::move(control))
        , expected(std::move(wanted))
        , actual(std::move(found)) {}
    std::string name;
    std::string expected;
    std::string actual;
};

} // namespace pagora
