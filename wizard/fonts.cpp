#include "wizard/fonts.h"

#include <QStringList>

namespace {

QFont sansSerif(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont dialogFont()
{
    return sansSerif(10);
}

QFont largeFont()
{
    return sansSerif(16);
}
