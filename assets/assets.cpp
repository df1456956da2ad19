#include "assets/assets.h"

#include <QFile>
#include <QIcon>

namespace Assets {

QString licenseText()
{
    QFile file(LicenseFile);
    // Not QIODevice::Text: that would turn the CR LF line ends into LF.
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll());
}

QIcon windowIcon()
{
    return QIcon(WindowIconPng);
}

} // namespace Assets
