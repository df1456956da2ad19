#pragma once

#include <QList>
#include <QStringList>
#include <QTest>

// Data rows for a test of both install lists: the option chosen, the INI
// files run in order and the pauses, in ticks, after the first five runs.
inline void addInstallListRows()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QStringList>("iniNames");
    QTest::addColumn<QList<int>>("pauses");

    QTest::newRow("4.0.0 or higher")
        << QStringLiteral("Option3")
        << QStringList{"netcf.all.wce4.ARMV4.ini", "sqlce.wce4.armv4.ini", "sql.wce4.armv4.ini",
                       "OpenNETCF.SDF.PPC3.ARMV4.ini", "KestLanguages.ini", "TorvexSetup.ini"}
        << QList<int>{15, 10, 5, 8, 4};
    QTest::newRow("earlier")
        << QStringLiteral("Option4")
        << QStringList{"w300netcf.all.wce4.ARMV4.ini", "w300sqlce.wce4.armv4.ini", "w300sql.wce4.armv4.ini",
                       "w300OpenNETCF.SDF.PPC3.ARMV4.ini", "KestLanguages.ini", "TorvexSetup.ini"}
        << QList<int>{25, 15, 6, 7, 4};
}
