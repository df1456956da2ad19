#include "platform/systemservices.h"
#include "wizard/commandline.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    if (const std::optional<int> status = handleCommandLine(argc, argv))
        return *status;

    QApplication app(argc, argv);

    SystemServices system;
    GlobalVar vars;

    Form1 form(vars, system.services());
    if (const QScreen *screen = form.screen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.show();
    // The program ends when its only window has been unloaded.
    return app.exec();
}
