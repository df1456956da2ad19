// TorvexSetup.exe's manifest: the resource Windows reads at start (RT_MANIFEST
// number 1), with each setting in the namespace Windows looks for it in, as
// a setting in another is silently ignored.

#include <QtTest>
#include <QXmlStreamReader>

#include <qt_windows.h>

namespace {

struct Element
{
    QString namespaceUri;
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
};

// Every element of the program's manifest, in document order.
QList<Element> manifestElements()
{
    const QString program = QStringLiteral(TORVEX_PROGRAM);
    const HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t *>(program.utf16()), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        qFatal("cannot open %s as a data file", qPrintable(program));
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    QByteArray xml;
    if (loaded)
        xml = QByteArray(static_cast<const char *>(LockResource(loaded)), SizeofResource(module, resource));
    FreeLibrary(module);

    QList<Element> elements;
    QList<qsizetype> open; // the elements the reader is inside of
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            open.append(elements.size());
            elements.append({reader.namespaceUri().toString(), reader.name().toString(), reader.attributes(), {}});
            break;
        case QXmlStreamReader::Characters:
            if (!open.isEmpty())
                elements[open.last()].text += reader.text().trimmed();
            break;
        case QXmlStreamReader::EndElement:
            open.removeLast();
            break;
        default:
            break;
        }
    }
    if (xml.isEmpty() || reader.hasError())
        qFatal("no well-formed manifest: %s", qPrintable(reader.errorString()));
    return elements;
}

} // namespace

class TestManifest : public QObject
{
    Q_OBJECT

private slots:
    void setting_data();
    void setting();
    void supportedSystems();
};

void TestManifest::setting_data()
{
    QTest::addColumn<QString>("namespaceUri");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("attribute"); // empty: the element's text
    QTest::addColumn<QString>("value");

    const QString v3 = QStringLiteral("urn:schemas-microsoft-com:asm.v3");
    const QString settings2005 = QStringLiteral("http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    const QString settings2016 = QStringLiteral("http://schemas.microsoft.com/SMI/2016/WindowsSettings");
    QTest::newRow("runs as its user") << v3 << "requestedExecutionLevel" << "level" << "asInvoker";
    QTest::newRow("no UI access") << v3 << "requestedExecutionLevel" << "uiAccess" << "false";
    QTest::newRow("per-monitor v2 DPI, as Qt") << settings2016 << "dpiAwareness" << QString() << "PerMonitorV2";
    QTest::newRow("per-monitor DPI before 1607") << settings2005 << "dpiAware" << QString() << "true/pm";
    QTest::newRow("long paths") << settings2016 << "longPathAware" << QString() << "true";
}

void TestManifest::setting()
{
    QFETCH(QString, namespaceUri);
    QFETCH(QString, element);
    QFETCH(QString, attribute);
    QFETCH(QString, value);

    QStringList found;
    for (const Element &e : manifestElements()) {
        if (e.namespaceUri == namespaceUri && e.name == element)
            found << (attribute.isEmpty() ? e.text : e.attributes.value(attribute).toString());
    }
    QCOMPARE(found, QStringList{value});
}

// Vista, 7, 8, 8.1 and 10/11: without them Windows treats the program as
// written for Vista.
void TestManifest::supportedSystems()
{
    QStringList ids;
    for (const Element &e : manifestElements()) {
        if (e.namespaceUri == QLatin1String("urn:schemas-microsoft-com:compatibility.v1")
            && e.name == QLatin1String("supportedOS"))
            ids << e.attributes.value(QLatin1String("Id")).toString().toLower();
    }
    ids.sort();
    QCOMPARE(ids, QStringList({QStringLiteral("{1f676c76-80e1-4239-95bb-83d0f6d0da78}"),
                               QStringLiteral("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"),
                               QStringLiteral("{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"),
                               QStringLiteral("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),
                               QStringLiteral("{e2011457-1546-43c5-a5fe-008deee3d3f0}")}));
}

QTEST_GUILESS_MAIN(TestManifest)
#include "tst_manifest.moc"
