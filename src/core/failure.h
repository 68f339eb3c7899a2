#pragma once

#include <QString>

#include <optional>

// How the readers say why they could not give what was asked of them. The
// window shows its own fixed message for each kind of failure; the reason
// is for whoever needs to know more (a log, a command line, a test).
namespace ws {

struct Failure
{
    int line = 0;  // 1-based; 0 when no one line is to blame
    QString what;  // what was wrong there, with the offending text
};

// A value, or why there is none. `Why` is a Failure, or a reader's own
// type that adds the kind of failure to one.
template <typename T, typename Why = Failure>
struct Result
{
    std::optional<T> value;
    Why failure; // meaningful only without a value
};

} // namespace ws
