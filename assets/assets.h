#pragma once

#include <QLatin1StringView>
#include <QString>

class QIcon;

// The pictures and the licence agreement, compiled into the program as Qt
// resources so that it needs no files beside it.
namespace Assets {

inline constexpr QLatin1StringView WelcomePicture(":/assets/welcome.jpg");
inline constexpr QLatin1StringView ProgressBlock(":/assets/progressblock.bmp");
// The same design twice: the PNG for the running window, the .ico (16-colour
// and monochrome images) for the executable's icon on Windows.
inline constexpr QLatin1StringView WindowIconPng(":/assets/torvex.png");
inline constexpr QLatin1StringView WindowIconIco(":/assets/torvex.ico");
inline constexpr QLatin1StringView LicenseFile(":/assets/license.txt");

// The licence agreement exactly as stored, CR LF line ends included.
QString licenseText();

QIcon windowIcon();

} // namespace Assets
