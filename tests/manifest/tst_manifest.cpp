// TorvexSetup.exe's manifest: the resource Windows reads at start (RT_MANIFEST
// number 1), each setting in the namespace Windows looks for it in, as one in
// another namespace is silently ignored.

#include <QtTest>
#include <QXmlStreamReader>

#include <qt_windows.h>

namespace {

QByteArray programManifest()
{
    const QString program = QStringLiteral(TORVEX_PROGRAM);
    const HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t *>(program.utf16()), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return {};
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    QByteArray xml;
    if (loaded)
        xml = QByteArray(static_cast<const char *>(LockResource(loaded)), SizeofResource(module, resource));
    FreeLibrary(module);
    return xml;
}

} // namespace

class TestManifest : public QObject
{
    Q_OBJECT

private slots:
    void setting_data();
    void setting();
};

void TestManifest::setting_data()
{
    QTest::addColumn<QString>("namespaceUri");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("attribute"); // empty: the element's text
    QTest::addColumn<QStringList>("values"); // every occurrence, sorted

    const QString v3 = QStringLiteral("urn:schemas-microsoft-com:asm.v3");
    const QString settings2005 = QStringLiteral("http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    const QString settings2016 = QStringLiteral("http://schemas.microsoft.com/SMI/2016/WindowsSettings");
    QTest::newRow("runs as its user") << v3 << "requestedExecutionLevel" << "level" << QStringList{"asInvoker"};
    QTest::newRow("no UI access") << v3 << "requestedExecutionLevel" << "uiAccess" << QStringList{"false"};
    QTest::newRow("per-monitor v2 DPI, as Qt") << settings2016 << "dpiAwareness" << QString() << QStringList{"PerMonitorV2"};
    QTest::newRow("per-monitor DPI before 1607") << settings2005 << "dpiAware" << QString() << QStringList{"true/pm"};
    QTest::newRow("long paths") << settings2016 << "longPathAware" << QString() << QStringList{"true"};
    // Without it Windows treats the program as written for Vista; no older
    // system, which Qt 6 does not run on.
    QTest::newRow("Windows 10 and 11 only")
        << QStringLiteral("urn:schemas-microsoft-com:compatibility.v1") << "supportedOS" << "Id"
        << QStringList{"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
}

void TestManifest::setting()
{
    QFETCH(QString, namespaceUri);
    QFETCH(QString, element);
    QFETCH(QString, attribute);
    QFETCH(QStringList, values);

    const QByteArray xml = programManifest();
    QVERIFY2(!xml.isEmpty(), "no manifest in " TORVEX_PROGRAM);
    QStringList found;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.namespaceUri() != namespaceUri
            || reader.name() != element)
            continue;
        found << (attribute.isEmpty() ? reader.readElementText().trimmed()
                                      : reader.attributes().value(attribute).toString());
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    found.sort();
    QCOMPARE(found, values);
}

QTEST_GUILESS_MAIN(TestManifest)
#include "tst_manifest.moc"
