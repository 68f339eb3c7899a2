#pragma once

#include <QString>

namespace ws::cli {

// A message box's text as the line standard error gets in its place, so
// that whoever started the program from a terminal or a script learns there
// what the window says and about which file: "wavesift: <detail> (<text>)"
// when the box has a detail ("<path>: <reason>"), else "wavesift: <file>:
// <text>" unless the text names the file itself, else "wavesift: <text>".
// Ends in a newline.
QString messageLine(const QString &text, const QString &detail = QString(),
                    const QString &file = QString());

} // namespace ws::cli
