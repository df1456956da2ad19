#include "platform/registry.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

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
    const std::optional<QString> value = registry.defaultValue(Registry::LocalMachine, ManagerKey);

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

QTEST_GUILESS_MAIN(TestRegFileRegistry)
#include "tst_regfileregistry.moc"
