// A wizard on the real registry file and process starter whose window is
// closed with Yes while the application manager's first run is under way.
// It then goes on running without a window for the milliseconds given as its
// argument before it exits. TORVEX_REGISTRY names the manager; the working
// directory holds the INI files.
#include "doubles/fakeservices.h"
#include "doubles/observedprocesses.h"
#include "wizard/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int lingerMs = argc > 1 ? QByteArray(argv[1]).toInt() : 0;

    FakeServices fakes;
    fakes.messages.answers = {true};
    RegFileRegistry registry(RegFileRegistry::defaultPath());
    ObservedProcesses processes;
    GlobalVar vars;
    Form1 form(vars, {fakes.messages, fakes.remoteApi, registry, processes, fakes.ticks});
    form.show();
    processes.onStart = [&](const LaunchCommand &) { QTimer::singleShot(100, &form, &QWidget::close); };

    const auto click = [&](const char *name) { form.findChild<QAbstractButton *>(QLatin1String(name))->click(); };
    for (const char *name : {"Command1", "Option1", "Command1", "Option3", "Command1", "Command1"})
        click(name);
    if (!form.isUnloaded())
        return 1;

    QEventLoop linger;
    QTimer::singleShot(lingerMs, &linger, &QEventLoop::quit);
    linger.exec();
    return 0;
}
