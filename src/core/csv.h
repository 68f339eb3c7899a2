#pragma once

#include <QString>

// Fields of the CSV files the program writes for scripts and spreadsheets.
namespace ws {

// Text from a file the user was given (a map's name) as one CSV field,
// quoted per RFC 4180 when it holds a comma, quote or line break. A field
// starting with "=", "+", "-" or "@" (a tab or CR before one skipped) would
// run as a formula, so it gets a leading apostrophe, which a spreadsheet
// takes as "text" and hides. Computed numbers need no such care.
QString csvTextField(const QString &text);

} // namespace ws
