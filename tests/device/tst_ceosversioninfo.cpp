// The way back is covered by the probe tests; the way there is only seen
// here, since the probe always sends an empty text.

#include "device/ceosversioninfo.h"

#include <QtEndian>
#include <QtTest>

class TestCeOsVersionInfo : public QObject
{
    Q_OBJECT

private slots:
    void toSingleByteLayout();
};

void TestCeOsVersionInfo::toSingleByteLayout()
{
    CEOSVERSIONINFO info;
    info.size = 148;
    info.majorVersion = 4;
    info.minorVersion = -1;
    info.buildNumber = 0x01020304;
    info.platformId = 3;
    info.serviceText[0] = u'a';
    info.serviceText[1] = u'\u00E9';
    info.serviceText[2] = u'\u20AC'; // beyond Latin-1
    info.serviceText[127] = u'z';

    std::array<unsigned char, 148> bytes;
    bytes.fill(0xAA);
    toSingleByte(info, bytes);

    const uint32_t fields[] = {148, 4, 0xFFFFFFFFu, 0x01020304, 3};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(qFromLittleEndian<uint32_t>(bytes.data() + 4 * i), fields[i]);
    QCOMPARE(bytes[20], 'a');
    QCOMPARE(bytes[21], 0xE9);
    QCOMPARE(bytes[22], '?');
    QCOMPARE(bytes[23], 0);
    QCOMPARE(bytes[147], 'z');
}

QTEST_GUILESS_MAIN(TestCeOsVersionInfo)
#include "tst_ceosversioninfo.moc"
