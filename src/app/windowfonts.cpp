#include "app/windowfonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ws {

namespace {

// The first of `wanted` that is installed, named alone; the whole list when
// none is. Given a list, the font database looks up the fallbacks of each
// missing family through fontconfig before it reaches an installed one,
// which takes a noticeable part of the start-up and ends at that same face.
void setFirstInstalled(QFont &font, const QStringList &wanted)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : wanted) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            font.setFamily(family);
            return;
        }
    }
    font.setFamilies(wanted);
}

} // namespace

QFont windowFont()
{
    // The layout was made for the narrow 8-point dialog font of its first
    // platform; an Arial-like face keeps the texts inside their elements.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    setFirstInstalled(font, {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                             QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                             font.family()});
    font.setPointSizeF(8);
    return font;
}

QFont logFont()
{
    // Liberation Mono is the face fontconfig gives for Courier New where
    // that is missing.
    QFont font;
    setFirstInstalled(font, {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace ws
