#pragma once

#include <QLatin1StringView>

#include <array>
#include <optional>

// One run of the application manager: the INI file it gets (the leading
// backslash separates it from the install directory) and the pause, in
// one-second ticks, that follows the run.
struct InstallStep
{
    QLatin1StringView iniName;
    std::optional<int> pauseTicks;
};

using InstallList = std::array<InstallStep, 6>;

// For "Microsoft Pocket PC Version 4.0.0 or higher."
inline constexpr InstallList ListA{{
    {QLatin1StringView("\\netcf.all.wce4.ARMV4.ini"), 15},
    {QLatin1StringView("\\sqlce.wce4.armv4.ini"), 10},
    {QLatin1StringView("\\sql.wce4.armv4.ini"), 5},
    {QLatin1StringView("\\OpenNETCF.SDF.PPC3.ARMV4.ini"), 8},
    {QLatin1StringView("\\KestLanguages.ini"), 4},
    {QLatin1StringView("\\TorvexSetup.ini"), std::nullopt},
}};

// For "Earlier Microsoft Pocket PC Version."
inline constexpr InstallList ListB{{
    {QLatin1StringView("\\w300netcf.all.wce4.ARMV4.ini"), 25},
    {QLatin1StringView("\\w300sqlce.wce4.armv4.ini"), 15},
    {QLatin1StringView("\\w300sql.wce4.armv4.ini"), 6},
    {QLatin1StringView("\\w300OpenNETCF.SDF.PPC3.ARMV4.ini"), 7},
    {QLatin1StringView("\\KestLanguages.ini"), 4},
    {QLatin1StringView("\\TorvexSetup.ini"), std::nullopt},
}};
