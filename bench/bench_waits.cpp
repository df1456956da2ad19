// How much CPU the wizard burns while it waits, and how soon it notices that
// a process has ended. Reports figures; asserts nothing.
#include "platform/dialogs/messageboxes.h"
#include "platform/process/processservices.h"
#include "platform/registry/registry.h"
#include "platform/remoteapi/remoteapi.h"
#include "platform/time/ticksource.h"
#include "wizard/form1.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace {

class SilentMessages final : public MessageBoxes
{
public:
    void information(QWidget *, const QString &) override {}
    bool question(QWidget *, const QString &) override { return false; }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double wallSeconds()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

template<typename Wait>
void measure(const char *what, Wait wait)
{
    const double cpu0 = cpuSeconds();
    const double wall0 = wallSeconds();
    wait();
    const double wall = wallSeconds() - wall0;
    const double cpu = cpuSeconds() - cpu0;
    std::printf("%-40s wall %6.3f s  cpu %6.4f s  = %5.2f%% of a core\n", what, wall, cpu, 100.0 * cpu / wall);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SilentMessages messages;
    LibraryRemoteApi remoteApi;
    RegFileRegistry registry(QStringLiteral("/dev/null"));
    SystemProcessServices processes;
    RealTickSource ticks;
    GlobalVar vars;
    Form1 form(vars, {messages, remoteApi, registry, processes, ticks});
    form.show();
    // As during an install, the progress block slides all along.
    form.findChild<QTimer *>(QStringLiteral("Timer1"))->start();
    // The window's first paint and the fonts it loads are no part of a wait.
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();

    measure("pause of 5 ticks", [&] { form.PauseTicks(5); });

    QTemporaryDir dir;
    const QString stamp = dir.filePath(QStringLiteral("ended"));
    double returned = 0;
    measure("wait for a 3-second process", [&] {
        // The shell writes the time just before it exits.
        const QString script = QStringLiteral("sleep 3; date +%s.%N > '%1'").arg(stamp);
        QString error;
        if (!form.LaunchAndWait({QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, {}}, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
        returned = wallSeconds();
    });
    QFile file(stamp);
    if (file.open(QIODevice::ReadOnly)) {
        const double ended = file.readAll().trimmed().toDouble();
        std::printf("%-40s %6.2f ms (from the shell's last command)\n", "process end noticed after", (returned - ended) * 1000);
    }
    return 0;
}
