#include "ui/common/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>

QFont SansFont(int pixelSize)
{
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

QFont FixedFont(int pixelSize)
{
    // The font system may put another face in the place of a missing one; only a face that
    // really is fixed-pitch will do for scripts laid out in columns.
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontDatabase::hasFamily("Courier New") || !QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelSize);
    return font;
}
