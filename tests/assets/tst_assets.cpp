#include "assets/assets.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QtEndian>
#include <QtTest>

#include <algorithm>

namespace {

QByteArray resourceBytes(QLatin1StringView path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

quint16 le16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 le32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace

class AssetsTest : public QObject
{
    Q_OBJECT

private slots:
    void compiledIn_data();
    void compiledIn();
    void progressBlockPixels_data();
    void progressBlockPixels();
    void progressBlockIs24Bit();
    void welcomePictureIsColourJpeg();
    void iconHolds16ColourAndMonochromeImages();
    void pngIconMatchesIcoDesign();
    void licenseShape();
    void licenseTextKeepsLineEnds();
};

void AssetsTest::compiledIn_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("welcome") << QString(Assets::WelcomePicture);
    QTest::newRow("progress block") << QString(Assets::ProgressBlock);
    QTest::newRow("png icon") << QString(Assets::WindowIconPng);
    QTest::newRow("ico icon") << QString(Assets::WindowIconIco);
    QTest::newRow("licence") << QString(Assets::LicenseFile);
}

// The resources live in the static core library; this executable only sees
// them if they are really linked in.
void AssetsTest::compiledIn()
{
    QFETCH(QString, path);
    QVERIFY2(QFile::exists(path), qPrintable(path));
}

void AssetsTest::progressBlockPixels_data()
{
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<QString>("columns"); // N navy, G light grey

    QTest::newRow("top row") << 0 << 0 << QStringLiteral("NNNNNNGGGGGNNNNNNNNNNNNNNNNNNN");
    QTest::newRow("other rows") << 1 << 23 << QStringLiteral("NNNNNNGGGGGNNNNNNNNGGGGGNNNNNN");
}

void AssetsTest::progressBlockPixels()
{
    QFETCH(int, firstRow);
    QFETCH(int, lastRow);
    QFETCH(QString, columns);

    const QImage image(Assets::ProgressBlock);
    QCOMPARE(image.size(), QSize(30, 24));
    QCOMPARE(columns.size(), 30);
    for (int y = firstRow; y <= lastRow; ++y) {
        for (int x = 0; x < 30; ++x) {
            const QRgb want = columns.at(x) == u'N' ? qRgb(0, 0, 128) : qRgb(192, 192, 192);
            const QRgb got = image.pixel(x, y);
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is #%3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(got & 0xffffff, 6, 16, QLatin1Char('0'))));
        }
    }
}

void AssetsTest::progressBlockIs24Bit()
{
    const QByteArray bmp = resourceBytes(Assets::ProgressBlock);
    QVERIFY(bmp.size() >= 54);
    QVERIFY(bmp.startsWith("BM"));
    QCOMPARE(le16(bmp, 28), quint16(24)); // bits per pixel
    QCOMPARE(le32(bmp, 30), quint32(0));  // uncompressed
}

void AssetsTest::welcomePictureIsColourJpeg()
{
    QImageReader reader(Assets::WelcomePicture);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(208, 214));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    // A greyscale JPEG would load as Grayscale8.
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QVERIFY(!image.allGray());
}

void AssetsTest::iconHolds16ColourAndMonochromeImages()
{
    const QByteArray ico = resourceBytes(Assets::WindowIconIco);
    QVERIFY(ico.size() >= 6 + 2 * 16);
    QCOMPARE(le16(ico, 2), quint16(1)); // type: icon
    QCOMPARE(le16(ico, 4), quint16(2)); // images

    const int wantBits[] = {4, 1};
    for (int i = 0; i < 2; ++i) {
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(quint8(ico.at(entry)), quint8(32));
        QCOMPARE(quint8(ico.at(entry + 1)), quint8(32));
        QCOMPARE(le16(ico, entry + 6), quint16(wantBits[i]));
        const quint32 offset = le32(ico, entry + 12);
        QVERIFY(offset + 40 <= quint32(ico.size()));
        QCOMPARE(le16(ico, offset + 14), quint16(wantBits[i])); // the bitmap's own header
    }

    QImageReader reader(Assets::WindowIconIco);
    if (!reader.canRead())
        QSKIP("Qt's ico image plugin is not installed");
    QCOMPARE(reader.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // the mask is applied
        QCOMPARE(qAlpha(image.pixel(16, 16)), 255);
    }
}

void AssetsTest::pngIconMatchesIcoDesign()
{
    const QImage png = QImage(Assets::WindowIconPng).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(png.size(), QSize(32, 32));

    QImageReader reader(Assets::WindowIconIco);
    if (!reader.canRead())
        QSKIP("Qt's ico image plugin is not installed");
    const QImage ico = reader.read().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = png.pixel(x, y);
            const QRgb c = ico.pixel(x, y);
            const bool same = qAlpha(p) == 0 ? qAlpha(c) == 0 : p == c;
            if (!same)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) differs").arg(x).arg(y)));
        }
    }

    QVERIFY(!Assets::windowIcon().isNull());
}

void AssetsTest::licenseShape()
{
    const QByteArray text = resourceBytes(Assets::LicenseFile);
    QCOMPARE(text.size(), 2362);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        const bool printable = c >= 0x20 && c <= 0x7e;
        if (!printable && c != '\r' && c != '\n')
            QFAIL(qPrintable(QStringLiteral("byte %1 is 0x%2").arg(i).arg(quint8(c), 2, 16, QLatin1Char('0'))));
    }
    // Every CR belongs to a CR LF and so does every LF.
    QCOMPARE(text.count("\r\n"), 14);
    QCOMPARE(text.count('\r'), 14);
    QCOMPARE(text.count('\n'), 14);
    QVERIFY(text.endsWith("\r\n"));

    const QList<QByteArray> lines = text.chopped(2).split('\n');
    QCOMPARE(lines.size(), 14);
    qsizetype longest = 0;
    for (const QByteArray &line : lines)
        longest = std::max(longest, line.size() - (line.endsWith('\r') ? 1 : 0));
    QCOMPARE(longest, 677);
}

void AssetsTest::licenseTextKeepsLineEnds()
{
    const QString text = Assets::licenseText();
    QCOMPARE(text.size(), 2362);
    QCOMPARE(text, QString::fromLatin1(resourceBytes(Assets::LicenseFile)));
}

QTEST_MAIN(AssetsTest)
#include "tst_assets.moc"
