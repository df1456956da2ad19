#include "platform/messageboxes.h"
#include "platform/processservices.h"
#include "platform/registry.h"
#include "platform/remoteapi.h"
#include "platform/ticksource.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));

    QtMessageBoxes messages;
    LibraryRemoteApi remoteApi;
    const std::unique_ptr<Registry> registry = createSystemRegistry();
    SystemProcessServices processes;
    RealTickSource ticks;
    GlobalVar vars;

    Form1 form(vars, Services{messages, remoteApi, *registry, processes, ticks});
    if (const QScreen *screen = form.screen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.show();
    // The program ends when its only window has been unloaded.
    return app.exec();
}
