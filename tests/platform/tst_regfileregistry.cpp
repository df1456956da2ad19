#include "install/launchcommand.h"
#include "platform/registry/registry.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include "platform/registry/registrytext_win.h"
#include "scratchkey.h"

#include <qt_windows.h>

#include <algorithm>
#endif

namespace {

const QString ManagerKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");

QByteArray utf16le(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

QByteArray utf8(const QString &text, bool withBom)
{
    return (withBom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
}

// The most memory this process has held since the peak was last started
// afresh, in bytes; with `restart`, starts it afresh at what it holds now.
// -1 where the system does not tell.
qint64 peakMemory(bool restart = false)
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (restart && (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1))
        return -1;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

} // namespace

class TestRegFileRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultValue_data();
    void defaultValue();
    void otherHiveHasNothing();
    void missingFileHasNothing();
    void fileIsReadOnEveryQuery();
    void environmentNamesTheFile();
    void systemRegistry_data();
    void systemRegistry();
    void growingText_data();
    void growingText();

private:
    void writeFile(const QByteArray &bytes);

    QTemporaryDir m_dir;
    QString m_path;
};

void TestRegFileRegistry::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("registry.reg"));
    QFile::remove(m_path);
}

void TestRegFileRegistry::writeFile(const QByteArray &bytes)
{
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void TestRegFileRegistry::defaultValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expected");

    const QString v5 = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    const QString section = QStringLiteral(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE]\r\n");
    const QString plain = QStringLiteral("@=\"C:\\\\Program Files\\\\ActiveSync\\\\CEAPPMGR.EXE\"\r\n");
    const QString expected = QStringLiteral("C:\\Program Files\\ActiveSync\\CEAPPMGR.EXE");
    const QString unicodePath = QStringLiteral(u"C:\\Programme\\Gerätemanager\\CEAPPMGR.EXE");
    const QString unicodeLine = QStringLiteral(u"@=\"C:\\\\Programme\\\\Gerätemanager\\\\CEAPPMGR.EXE\"\r\n");

    QTest::newRow("regedit 5, UTF-16LE with BOM") << utf16le(v5 + section + plain) << true << expected;
    QTest::newRow("UTF-16LE keeps non-ASCII")
        << utf16le(v5 + section + unicodeLine) << true << unicodePath;
    QTest::newRow("REGEDIT4, ANSI")
        << (QByteArray("REGEDIT4\r\n\r\n") + section.toLatin1() + unicodeLine.toLatin1()) << true
        << unicodePath;
    QTest::newRow("UTF-8 with BOM") << utf8(v5 + section + unicodeLine, true) << true << unicodePath;
    QTest::newRow("UTF-8 without BOM")
        << utf8(v5 + section + unicodeLine, false) << true << unicodePath;
    QTest::newRow("Unix line ends, blank lines before the header")
        << utf8(QStringLiteral("\n\nREGEDIT4\n") + section + plain, false).replace("\r\n", "\n")
        << true << expected;

    QTest::newRow("no header") << utf8(section + plain, false) << false << QString();
    QTest::newRow("comment before the header")
        << utf8(QStringLiteral("; exported\r\n") + v5 + section + plain, false) << false << QString();
    QTest::newRow("wrong header")
        << utf8(QStringLiteral("Windows Registry Editor Version 4.00\r\n") + section + plain, false)
        << false << QString();

    QTest::newRow("key matched without regard to case")
        << utf8(v5 + section.toLower() + plain, false) << true << expected;
    QTest::newRow("HKLM abbreviation")
        << utf8(v5 + QStringLiteral("[HKLM\\software\\microsoft\\windows\\currentversion\\app paths\\ceappmgr.exe]\n")
                    + plain,
                false)
        << true << expected;
    QTest::newRow("escapes")
        << utf8(v5 + section + QStringLiteral("@=\"C:\\\\a \\\"b\\\"\\\\c.exe\"\n"), false) << true
        << QStringLiteral("C:\\a \"b\"\\c.exe");
    QTest::newRow("spaces around =")
        << utf8(v5 + section + QStringLiteral("@ = \"x.exe\"\n"), false) << true << QStringLiteral("x.exe");
    QTest::newRow("empty default") << utf8(v5 + section + QStringLiteral("@=\"\"\n"), false) << true
                                   << QString();
    QTest::newRow("comments, blank lines and named values around it")
        << utf8(v5 + QStringLiteral("; tools\r\n") + section
                    + QStringLiteral("\"Path\"=\"C:\\\\elsewhere\"\r\n\r\n; the manager\r\n") + plain
                    + QStringLiteral("\"@\"=\"not the default\"\r\n"),
                false)
        << true << expected;

    QTest::newRow("missing key")
        << utf8(v5 + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n") + plain, false) << false
        << QString();
    QTest::newRow("parent key holds the default")
        << utf8(v5
                    + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths]\r\n")
                    + plain + section,
                false)
        << false << QString();
    QTest::newRow("subkey holds the default")
        << utf8(v5 + QString(section).replace(QStringLiteral(".EXE]"), QStringLiteral(".EXE\\Sub]")) + plain, false)
        << false << QString();
    QTest::newRow("same key under another hive")
        << utf8(v5 + QString(section).replace(QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("HKEY_CURRENT_USER"))
                    + plain,
                false)
        << false << QString();
    QTest::newRow("named values only")
        << utf8(v5 + section + QStringLiteral("\"Path\"=\"C:\\\\x\"\r\n"), false) << false << QString();
    QTest::newRow("default of another type")
        << utf8(v5 + section + QStringLiteral("@=dword:00000001\r\n"), false) << false << QString();
    QTest::newRow("unterminated text")
        << utf8(v5 + section + QStringLiteral("@=\"C:\\\\x.exe\r\n"), false) << false << QString();
    QTest::newRow("deleted key section")
        << utf8(v5 + QStringLiteral("[-") + section.sliced(1) + plain, false) << false << QString();
    QTest::newRow("hex continuation lines are skipped")
        << utf8(v5 + section + QStringLiteral("\"Bin\"=hex:01,02,\\\r\n  @=\"not a value\",\\\r\n  03\r\n"),
                false)
        << false << QString();
    QTest::newRow("value after a hex continuation")
        << utf8(v5 + section + QStringLiteral("\"Bin\"=hex:01,\\\r\n  02\r\n") + plain, false) << true
        << expected;
    QTest::newRow("a NUL in the value is no value, not a shorter one")
        << utf8(v5 + section + QStringLiteral("@=\"C:\\\\x.exe") + QChar(0) + QStringLiteral(" more\"\r\n"), false)
        << false << QString();
    QTest::newRow("deleting the key removes its value")
        << utf8(v5 + section + plain + QStringLiteral("[-") + section.sliced(1), false) << false << QString();
    QTest::newRow("deleting a parent key removes it too")
        << utf8(v5 + section + plain + QStringLiteral("[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft]\r\n"), false)
        << false << QString();
    QTest::newRow("deleting a key whose name it begins with leaves it")
        << utf8(v5 + section + plain + QString(section).replace(QStringLiteral("[HKEY"), QStringLiteral("[-HKEY")).replace(QStringLiteral(".EXE]"), QStringLiteral("]")), false)
        << true << expected;
    QTest::newRow("deleted, then created afresh")
        << utf8(v5 + section + plain + QStringLiteral("[-") + section.sliced(1) + section + QStringLiteral("@=\"second.exe\"\r\n"), false)
        << true << QStringLiteral("second.exe");
    QTest::newRow("REGEDIT4 without a byte-order mark is Windows-1252")
        << (QByteArray("REGEDIT4\r\n\r\n") + section.toLatin1() + QByteArray("@=\"C:\\\\\x80 \x9f \xe4.exe\"\r\n"))
        << true << QStringLiteral(u"C:\\€ Ÿ ä.exe");
    // Its lines are walked, not gathered first.
    const QByteArray atEnd = utf8(section + plain, false);
    QTest::newRow("largest file accepted, 16 MiB of empty lines")
        << utf8(v5, false) + QByteArray(RegFileRegistry::MaxFileSize - utf8(v5, false).size() - atEnd.size(), '\n') + atEnd
        << true << expected;
    QTest::newRow("later setting wins")
        << utf8(v5 + section + QStringLiteral("@=\"first.exe\"\r\n") + section + QStringLiteral("@=\"second.exe\"\r\n"),
                false)
        << true << QStringLiteral("second.exe");
}

void TestRegFileRegistry::defaultValue()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, found);
    QFETCH(QString, expected);

    writeFile(file);
    RegFileRegistry registry(m_path);
    const qint64 before = peakMemory(true);
    const std::optional<QString> value = registry.defaultValue(Registry::LocalMachine, ManagerKey);
    const qint64 peak = peakMemory() - before;
    // The file, its text, and a little for the reader itself.
    QVERIFY2(before < 0 || peak < 3 * file.size() + 1024 * 1024, qPrintable(QString::number(peak)));

    QCOMPARE(value.has_value(), found);
    if (found)
        QCOMPARE(*value, expected);
}

void TestRegFileRegistry::otherHiveHasNothing()
{
    writeFile(utf8(QStringLiteral("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\") + ManagerKey
                       + QStringLiteral("]\r\n@=\"x.exe\"\r\n"),
                   false));
    RegFileRegistry registry(m_path);
    QVERIFY(registry.defaultValue(Registry::LocalMachine, ManagerKey).has_value());
    QVERIFY(!registry.defaultValue(0x80000001u, ManagerKey).has_value()); // HKEY_CURRENT_USER
}

void TestRegFileRegistry::missingFileHasNothing()
{
    RegFileRegistry missing(m_dir.filePath(QStringLiteral("nowhere.reg")));
    QVERIFY(!missing.defaultValue(Registry::LocalMachine, ManagerKey).has_value());

    RegFileRegistry directory(m_dir.path());
    QVERIFY(!directory.defaultValue(Registry::LocalMachine, ManagerKey).has_value());
}

void TestRegFileRegistry::fileIsReadOnEveryQuery()
{
    RegFileRegistry registry(m_path);
    QVERIFY(!registry.defaultValue(Registry::LocalMachine, ManagerKey).has_value());

    writeFile(utf8(QStringLiteral("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\") + ManagerKey
                       + QStringLiteral("]\r\n@=\"mended.exe\"\r\n"),
                   false));
    QCOMPARE(registry.defaultValue(Registry::LocalMachine, ManagerKey), QStringLiteral("mended.exe"));
}

void TestRegFileRegistry::environmentNamesTheFile()
{
    writeFile(utf8(QStringLiteral("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\") + ManagerKey
                       + QStringLiteral("]\r\n@=\"from env.exe\"\r\n"),
                   false));

    qunsetenv("TORVEX_REGISTRY");
    QCOMPARE(RegFileRegistry::defaultPath(), QStringLiteral("/etc/torvex/registry.reg"));

    qputenv("TORVEX_REGISTRY", QFile::encodeName(m_path));
    QCOMPARE(RegFileRegistry::defaultPath(), m_path);
#ifdef Q_OS_WIN
    qunsetenv("TORVEX_REGISTRY");
    QSKIP("On Windows the system's registry is the real one, not this file");
#endif
    const std::unique_ptr<Registry> registry = createSystemRegistry();
    QCOMPARE(registry->defaultValue(Registry::LocalMachine, ManagerKey), QStringLiteral("from env.exe"));
    qunsetenv("TORVEX_REGISTRY");
}

// The registry proper, read with the system's own calls; Windows only.
void TestRegFileRegistry::systemRegistry_data()
{
    QTest::addColumn<QString>("view64"); // null: not written
    QTest::addColumn<QString>("view32");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("program"); // what would be started
#ifdef Q_OS_WIN
    const QChar nul(0);
    const QString manager = QStringLiteral(u"C:\\Programme\\Gerätemanager\\CEAPPMGR.EXE");
    const QString other = QStringLiteral("C:\\Other\\CEAPPMGR.EXE");
    QTest::newRow("64-bit view, non-ASCII kept") << manager + nul << QString() << int(REG_SZ) << true << manager << manager;
    QTest::newRow("only in the 32-bit view") << QString() << manager + nul << int(REG_SZ) << true << manager << manager;
    QTest::newRow("both views: the 64-bit one") << manager + nul << other + nul << int(REG_SZ) << true << manager << manager;
    QTest::newRow("REG_EXPAND_SZ expanded")
        << QStringLiteral("%SystemRoot%\\ceappmgr.exe") + nul << QString() << int(REG_EXPAND_SZ) << true
        << qEnvironmentVariable("SystemRoot") + QStringLiteral("\\ceappmgr.exe")
        << qEnvironmentVariable("SystemRoot") + QStringLiteral("\\ceappmgr.exe");
    QTest::newRow("quoted: read as stored, started without the quotes")
        << QLatin1Char('"') + manager + QLatin1Char('"') + nul << QString() << int(REG_SZ) << true
        << QLatin1Char('"') + manager + QLatin1Char('"') << manager;
    QTest::newRow("stored without a terminator") << manager << QString() << int(REG_SZ) << true << manager << manager;
    QTest::newRow("extra terminators end it too") << manager + nul + nul << QString() << int(REG_SZ) << true << manager << manager;
    QTest::newRow("a NUL inside is no value, not a shorter one")
        << other + nul + QStringLiteral(" more") + nul << QString() << int(REG_SZ) << false << QString() << QString();
    QTest::newRow("a NUL in the 64-bit view is not passed over for the 32-bit one")
        << other + nul + QStringLiteral(" more") + nul << manager + nul << int(REG_SZ) << false << QString() << QString();
    QTest::newRow("a number is no text") << QStringLiteral("ab") << QString() << int(REG_DWORD) << false << QString() << QString();
    QTest::newRow("key in neither view") << QString() << QString() << int(REG_SZ) << false << QString() << QString();
#endif
}

void TestRegFileRegistry::systemRegistry()
{
#ifndef Q_OS_WIN
    QSKIP("Only Windows has a registry of its own; elsewhere the file above stands in for it.");
#else
    QFETCH(QString, view64);
    QFETCH(QString, view32);
    QFETCH(int, type);
    QFETCH(bool, found);
    QFETCH(QString, expected);
    QFETCH(QString, program);

    // Under HKEY_LOCAL_MACHINE, as the wizard reads it, and where the two
    // views differ; writing there needs an administrator.
    ScratchKey key;
    for (const auto &[view, data] : {std::pair{ScratchKey::View::Bits64, view64}, std::pair{ScratchKey::View::Bits32, view32}}) {
        if (data.isNull())
            continue;
        const QString error = key.setDefault(view, uint32_t(type), data);
        if (!error.isEmpty())
            QSKIP(qPrintable(QStringLiteral("Cannot write HKEY_LOCAL_MACHINE\\%1: %2").arg(key.path(), error)));
    }

    QString whyNot;
    const std::optional<QString> value = createSystemRegistry()->defaultValue(Registry::LocalMachine, key.path(), &whyNot);
    QCOMPARE(value.has_value(), found);
    if (found) {
        QCOMPARE(*value, expected);
        QCOMPARE(managerProgram(*value), program);
        QVERIFY(whyNot.isEmpty());
    } else if (!view64.isNull() || !view32.isNull()) {
        // Present but unusable: the message says why.
        QVERIFY2(whyNot.contains(key.path()), qPrintable(whyNot));
    } else {
        QVERIFY(whyNot.isEmpty());
    }
#endif
}

// A text that grows between the size query and the read is read again, but
// one that outgrows every buffer is given up on; Windows only.
void TestRegFileRegistry::growingText_data()
{
    QTest::addColumn<int>("growths"); // how many reads find it larger than their buffer
    QTest::addColumn<bool>("found");
    QTest::newRow("grows once") << 1 << true;
    QTest::newRow("grows three times") << 3 << true;
    QTest::newRow("grows without end") << 1000 << false;
}

void TestRegFileRegistry::growingText()
{
#ifndef Q_OS_WIN
    QSKIP("The system's registry calls are Windows'");
#else
    QFETCH(int, growths);
    QFETCH(bool, found);
    const std::wstring text = L"C:\\CEAPPMGR.EXE";
    const DWORD needed = DWORD((text.size() + 1) * sizeof(wchar_t));
    int reads = 0;
    const auto get = [&](wchar_t *data, DWORD *size) -> LONG {
        if (!data) {
            *size = needed;
            return ERROR_SUCCESS;
        }
        if (++reads <= growths || *size < needed) {
            *size = std::max(*size, needed) + 64;
            return ERROR_MORE_DATA;
        }
        std::fill_n(data, *size / sizeof(wchar_t), L'\0');
        text.copy(data, text.size());
        *size = needed;
        return ERROR_SUCCESS;
    };
    LONG status = ERROR_SUCCESS;
    const std::optional<QString> value = readRegistryText(get, &status);
    QCOMPARE(value.has_value(), found);
    if (found)
        QCOMPARE(*value, QStringLiteral("C:\\CEAPPMGR.EXE"));
    else
        QCOMPARE(status, LONG(ERROR_MORE_DATA));
    QVERIFY2(reads <= 5, qPrintable(QString::number(reads)));
#endif
}

QTEST_GUILESS_MAIN(TestRegFileRegistry)
#include "tst_regfileregistry.moc"
