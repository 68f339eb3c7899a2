#pragma once

#include <QString>

class QImage;

namespace ws {

// Writes `image` to `path` as a PNG, whatever the name's ending, whole or
// not at all: a file that was there stays as it was when writing fails.
// Returns why it failed, empty when it did not.
QString writePng(const QImage &image, const QString &path);

} // namespace ws
