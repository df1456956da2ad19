// The probe through the real by-name binding, against stand-in libraries.

#include "device/module1.h"
#include "platform/remoteapi/remoteapi.h"
#include "standincontrol.h"

#include <QtEndian>
#include <QtTest>

#include <stdexcept>

namespace {

// A 148-byte single-byte version record as the library writes it.
QByteArray versionRecord(uint32_t major, uint32_t minor, uint32_t build, const QByteArray &text,
                         uint32_t platformId = 3, uint32_t size = 148)
{
    QByteArray bytes(148, '\0');
    const uint32_t fields[] = {size, major, minor, build, platformId};
    for (int i = 0; i < 5; ++i)
        qToLittleEndian(fields[i], bytes.data() + 4 * i);
    bytes.replace(20, text.size(), text);
    return bytes.left(148);
}

} // namespace

class TestModule1 : public QObject
{
    Q_OBJECT

private slots:
    void init() { StandInControl(RAPI_STANDIN).reset(); }

    void unboundLibraryAnswersFalse_data();
    void unboundLibraryAnswersFalse();
    void defaultLibraryName();
    void versionAnswer_data();
    void versionAnswer();
    void recordHandedToLibrary();
    void everyProbeStartsTheLinkAndNoneEndsIt();
    void libraryInCurrentDirectoryIsNotLoaded();
};

void TestModule1::unboundLibraryAnswersFalse_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("absent file") << QCoreApplication::applicationDirPath() + "/no-such-rapi";
    QTest::newRow("without CeRapiInitEx") << QStringLiteral(RAPI_STANDIN_NOINIT);
    QTest::newRow("without CeGetVersionEx") << QStringLiteral(RAPI_STANDIN_NOVERSION);
}

void TestModule1::unboundLibraryAnswersFalse()
{
    QFETCH(QString, path);
    LibraryRemoteApi api(path);
    QCOMPARE(Module1::DeviceConnected(api), false);
    QCOMPARE(Module1::DeviceConnected(api), false);
    // Told apart from a handheld that does not answer, naming the library.
    QVERIFY(Module1::ProbeDevice(api).libraryProblem.contains(path));
}

// "rapi" is looked up where the system keeps its libraries: on Linux the
// loader's ordinary path, on Windows System32 only. The ctest entries that
// put a library there say so; on Windows that library is the simulated
// handheld, and a stand-in beside the program must not answer in its place.
void TestModule1::defaultLibraryName()
{
    LibraryRemoteApi api;
    const bool onPath = qEnvironmentVariableIsSet("TORVEX_RAPI_ON_PATH");
    const Module1::Probe probe = Module1::ProbeDevice(api);
    QCOMPARE(!probe.version.isEmpty(), onPath);
#ifdef Q_OS_WIN
    const QString file = QStringLiteral("rapi.dll");
    if (onPath)
        QCOMPARE(probe.version, QStringLiteral("4.20.1081 Simulated Pocket PC"));
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/rapi.dll");
    if (QFile::exists(beside))
        QCOMPARE(StandInControl(beside).initCalls(), 0);
#else
    const QString file = QStringLiteral("librapi.so");
#endif
    QCOMPARE(probe.libraryProblem.contains(file), !onPath);
}

void TestModule1::versionAnswer_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text");

    const QByteArray unterminated(128, 'x');
    QByteArray wideTail = versionRecord(4, 20, 1081, "abc");
    wideTail.append(276 - 148, 'Z');

    QTest::newRow("query fails") << 0 << versionRecord(4, 20, 1081, "abc") << true << QString();
    QTest::newRow("query fails, text unterminated")
        << 0 << versionRecord(4, 20, 1081, unterminated) << true << QString();
    QTest::newRow("empty service text") << 1 << versionRecord(4, 20, 1081, {}) << true << "4.20.1081 ";
    QTest::newRow("any nonzero is success") << -7 << versionRecord(4, 20, 1081, {}) << true << "4.20.1081 ";
    QTest::newRow("service text abc") << 1 << versionRecord(4, 20, 1081, "abc") << true << "4.20.1081 abc";
    QTest::newRow("cut at the first NUL")
        << 1 << versionRecord(4, 20, 1081, QByteArray("ab\0cd", 5)) << true << "4.20.1081 ab";
    QTest::newRow("NUL in the last place")
        << 1 << versionRecord(5, 1, 2, QByteArray(127, 'x')) << true << "5.1.2 " + QString(127, u'x');
    QTest::newRow("no NUL in 128 characters") << 1 << versionRecord(4, 20, 1081, unterminated) << false << QString();
    QTest::newRow("build 4294967295") << 1 << versionRecord(4, 20, 4294967295u, {}) << true << "4.20.-1 ";
    QTest::newRow("numbers from 2^31 are negative")
        << 1 << versionRecord(0x80000000u, 4294967294u, 0, {}) << true << "-2147483648.-2.0 ";
    QTest::newRow("platform id and size ignored")
        << 1 << versionRecord(4, 20, 1081, {}, 0xFFFFFFFFu, 0) << true << "4.20.1081 ";
    QTest::newRow("Latin-1 text") << 1 << versionRecord(4, 20, 1081, "\xE9t\xE9") << true << "4.20.1081 \u00E9t\u00E9";
    QTest::newRow("wide record written past 148 bytes") << 1 << wideTail << true << "4.20.1081 abc";
}

void TestModule1::versionAnswer()
{
    QFETCH(int, result);
    QFETCH(QByteArray, record);
    QFETCH(bool, readable);
    QFETCH(QString, text);

    StandInControl(RAPI_STANDIN).answer(result, record);
    LibraryRemoteApi api(RAPI_STANDIN);

    QCOMPARE(Module1::DeviceConnected(api), readable && !text.isEmpty());
    QVERIFY(Module1::ProbeDevice(api).libraryProblem.isEmpty());
    if (readable)
        QCOMPARE(Module1::DeviceVersionText(api), text);
    else
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Module1::DeviceVersionText(api));
}

// The library gets a zeroed buffer as large as the system library's wide
// record (the stand-in reads all of it), with the record size in front.
void TestModule1::recordHandedToLibrary()
{
    StandInControl standIn(RAPI_STANDIN);
    LibraryRemoteApi api(RAPI_STANDIN);
    QVERIFY(Module1::DeviceConnected(api));

    QByteArray expected(276, '\0');
    expected[0] = char(148);
    QCOMPARE(standIn.receivedRecord(), expected);
    // The init record's own size: a HANDLE widens it in a 64-bit Windows process.
#if defined(Q_OS_WIN) && Q_PROCESSOR_WORDSIZE == 8
    QCOMPARE(standIn.receivedInitSize(), 24u);
#else
    QCOMPARE(standIn.receivedInitSize(), 12u);
#endif
}

void TestModule1::everyProbeStartsTheLinkAndNoneEndsIt()
{
    StandInControl standIn(RAPI_STANDIN);
    LibraryRemoteApi api(RAPI_STANDIN);
    QVERIFY(Module1::DeviceConnected(api));
    standIn.answer(0, {});
    QVERIFY(!Module1::DeviceConnected(api));

    QCOMPARE(standIn.initCalls(), 2);
    QCOMPARE(standIn.versionCalls(), 2);
    QCOMPARE(standIn.uninitCalls(), 0);
}

// The setup kit's folder is the current directory: a library planted there
// under the library's own name must not be loaded by the default name.
// Last here: once loaded, a library stays the one its name stands for.
void TestModule1::libraryInCurrentDirectoryIsNotLoaded()
{
    // Not a temporary folder: the planted library stays loaded to the end,
    // and Windows cannot delete it before.
    const QDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/planted"));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    const QString onPath = QStringLiteral(RAPI_STANDIN_ON_PATH);
    const QString planted = dir.filePath(QFileInfo(onPath).fileName());
    QFile::remove(planted);
    QVERIFY(QFile::copy(onPath, planted));

    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    LibraryRemoteApi api;
    Module1::DeviceConnected(api);
    QVERIFY(QDir::setCurrent(before));

    // Loaded only now, by its path: it was never called.
    QCOMPARE(StandInControl(planted).initCalls(), 0);
}

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
