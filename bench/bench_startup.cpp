// Start-up cost of the wizard beside an empty Qt window of the same size:
// time from process start to the first painted window, and resident memory
// then. Run without arguments; it starts itself in each mode several times.
#include "platform/systemservices.h"
#include "wizard/form1.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

long long monotonicNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Prints the time and memory once the window has painted, then quits.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld %ld\n", monotonicNs(), residentKb());
                std::fflush(stdout);
                QCoreApplication::exit(0); // quit() would ask the wizard to close first
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int child(int argc, char *argv[], bool wizard)
{
    QApplication app(argc, argv);
    SystemServices system;
    GlobalVar vars;
    std::unique_ptr<QWidget> window;
    if (wizard)
        window = std::make_unique<Form1>(vars, system.services());
    else {
        window = std::make_unique<QWidget>();
        window->setFixedSize(488, 373);
    }
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    return app.exec();
}

struct Sample
{
    double ms;
    long kb;
};

Sample runOnce(const QString &self, const char *mode)
{
    QProcess process;
    const long long started = monotonicNs();
    process.start(self, {QString::fromLatin1(mode)});
    process.waitForFinished(30000);
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    return {double(fields.value(0).toLongLong() - started) / 1e6, fields.value(1).toLong()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1)
        return child(argc, argv, qstrcmp(argv[1], "wizard") == 0);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    constexpr int Runs = 7;
    std::vector<double> ms[2], kb[2];
    for (int i = 0; i < Runs; ++i)
        for (int m = 0; m < 2; ++m) {
            const Sample s = runOnce(self, m == 0 ? "wizard" : "empty");
            ms[m].push_back(s.ms);
            kb[m].push_back(double(s.kb));
        }
    const double wizardMs = median(ms[0]), emptyMs = median(ms[1]);
    const double wizardKb = median(kb[0]), emptyKb = median(kb[1]);
    std::printf("medians of %d runs        wizard     empty window   ratio\n", Runs);
    std::printf("start to first paint   %7.1f ms  %7.1f ms     %5.2f\n", wizardMs, emptyMs, wizardMs / emptyMs);
    std::printf("resident memory        %7.0f kB  %7.0f kB     %5.2f\n", wizardKb, emptyKb, wizardKb / emptyKb);
    return 0;
}
