#include "install/kitfolder.h"

#include "platform/text/messagetext.h"
#include "platform/text/systemnames.h"

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
