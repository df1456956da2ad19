// A wizard on the real registry file and process starter whose window is
// closed with Yes while the application manager's first run is under way.
// With the argument "linger" it then goes on running without a window until a
// file "leave" appears in the working directory (a minute at most), so that a
// test on a busy machine decides when it ends. TORVEX_REGISTRY names the
// manager; the working directory holds the INI files.
#include "doubles/fakeservices.h"
#include "doubles/observedprocesses.h"
#include "wizard/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const bool linger = argc > 1 && QByteArray(argv[1]) == "linger";

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

    if (!linger)
        return 0;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (QFile::exists(QStringLiteral("leave")))
            loop.quit();
    });
    poll.start(50);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return 0;
}
