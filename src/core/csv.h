#pragma once

#include <QString>

// Fields of the CSV files the program writes for scripts and spreadsheets.
namespace ws {

// Text copied from a file the user was given (a map's name, say) as one
// CSV field, quoted as RFC 4180 says when it holds a comma, a quote or a
// line break. A spreadsheet runs a field that begins with "=", "+", "-" or
// "@" as a formula, and skips a tab or CR before one, so such a field gets
// a leading apostrophe first, which a spreadsheet takes as "this is text"
// and does not show. The numbers the program computes need no such care
// and go out as they are.
QString csvTextField(const QString &text);

} // namespace ws
