#include "platform/systemservices.h"
#include "wizard/commandline.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    if (const std::optional<int> status = handleCommandLine(argc, argv))
        return *status;

    SystemProcessServices::takeChildEndsBack();
    QApplication app(argc, argv);

    SystemServices system;
    GlobalVar vars;

    Form1 form(vars, system.services());
    form.show(); // centred on its screen as it opens
    // The program ends when its only window has been unloaded.
    return app.exec();
}
