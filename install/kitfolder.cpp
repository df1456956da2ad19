#include "install/kitfolder.h"

#include "platform/messagetext.h"
#include "platform/systemnames.h"

#include <QCoreApplication>

bool enterKitFolder(const QString &kit, QString *error)
{
    if (kit.isEmpty() || enterFolder(kit))
        return true;
    if (error) {
        *error = QCoreApplication::translate("KitFolder", "The kit folder \"%1\" does not exist or cannot be entered.")
                     .arg(quoteForMessage(kit));
    }
    return false;
}
