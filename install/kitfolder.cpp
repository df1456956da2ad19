#include "install/kitfolder.h"

#include <QCoreApplication>
#include <QDir>

bool enterKitFolder(const QString &kit, QString *error)
{
    if (kit.isEmpty() || QDir::setCurrent(kit))
        return true;
    if (error) {
        *error = QCoreApplication::translate("KitFolder", "The kit folder \"%1\" does not exist or cannot be entered.")
                     .arg(kit);
    }
    return false;
}
