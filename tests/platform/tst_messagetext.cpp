// Values put into messages, logs and JSON: every hidden character escaped,
// and bytes that were not text kept whole.
#include "platform/text/messagetext.h"
#include "platform/text/systemnames.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <vector>

class tst_MessageText : public QObject
{
    Q_OBJECT

private slots:
    void escapes_data();
    void escapes();
    void elidesWholeEscapes();
    void longValuesDifferingInTheMiddle();
    void undecodedBytes();
    void everyCharacterOfAPlane_data();
    void everyCharacterOfAPlane();
};

void tst_MessageText::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("json");
    const auto row = [](const char *name, const QString &text, const char *shown, const char *json) {
        QTest::newRow(name) << text << QString::fromUtf8(shown) << QString::fromUtf8(json);
    };
    row("newline", QStringLiteral("a\nb"), "a\\x0Ab", "\"a\\u000ab\"");
    row("carriage return", QStringLiteral("a\rb"), "a\\x0Db", "\"a\\u000db\"");
    row("other C0", QStringLiteral("\x1b[31m"), "\\x1B[31m", "\"\\u001b[31m\"");
    row("DEL", QStringLiteral("\x7f"), "\\x7F", "\"\\u007f\"");
    row("C1 next line", QString(QChar(0x85)), "\\u{85}", "\"\\u0085\"");
    row("right-to-left override", QString(QChar(0x202E)), "\\u{202E}", "\"\\u202e\"");
    row("zero-width space", QString(QChar(0x200B)), "\\u{200B}", "\"\\u200b\"");
    row("line separator", QString(QChar(0x2028)), "\\u{2028}", "\"\\u2028\"");
    row("paragraph separator", QString(QChar(0x2029)), "\\u{2029}", "\"\\u2029\"");
    row("format character past U+FFFF", QString::fromUcs4(U"\U000E0041"), "\\u{E0041}", "\"\\udb40\\udc41\"");
    row("a backslash that reads as an escape", QStringLiteral("A\\x0AB\\u{41}\\u\\X"), "A\\x5Cx0AB\\x5Cu{41}\\u\\X",
        "\"A\\\\x0AB\\\\u{41}\\\\u\\\\X\"");
    row("blank fillers, noncharacters, unassigned; variation selector stays",
        QString::fromUcs4(U"\u115F\u3164\u034F\u180B\uFFFE\U0010FFFF\u0378\u2764\uFE0F"),
        "\\u{115F}\\u{3164}\\u{34F}\\u{180B}\\u{FFFE}\\u{10FFFF}\\u{378}\u2764\uFE0F",
        "\"\\u115f\\u3164\\u034f\\u180b\\ufffe\\udbff\\udfff\\u0378\u2764\uFE0F\"");
    row("an ellipsis of the value's own", QStringLiteral("a\u2026b"), "a\\u{2026}b", "\"a\u2026b\"");
    row("plain text and backslashes stay", QStringLiteral("C:\\Kit \"é\""), "C:\\Kit \"é\"", "\"C:\\\\Kit \\\"é\\\"\"");
}

void tst_MessageText::escapes()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, json);
    QCOMPARE(escapeControls(text), shown);
    // A line that quotes the value is escaped again as a whole: nothing changes.
    QCOMPARE(escapeLine(shown), shown);
    QCOMPARE(elideForMessage(text), shown);
    QCOMPARE(jsonQuote(text), json);
}

void tst_MessageText::elidesWholeEscapes()
{
    const QString elided = elideForMessage(QString(300, u'\n'));
    QVERIFY(elided.size() <= 260);
    QVERIFY2(QRegularExpression(QStringLiteral("^(\\\\x0A)+…(\\\\x0A)+$")).match(elided).hasMatch(), qPrintable(elided));
}

// Shown elided where people read and recognisably so, the elision being the
// only ellipsis; whole in the log and JSON, where the two never read the same.
void tst_MessageText::longValuesDifferingInTheMiddle()
{
    const QString message = QStringLiteral("The kit folder \"%1\" does not exist.");
    const QString first = QString(160, u'a') + QStringLiteral("\u2026 1\n") + QString(160, u'b');
    const QString second = QString(160, u'a') + QStringLiteral("\u2026 2\n") + QString(160, u'b');
    const QString quotedFirst = message.arg(quoteForMessage(first));
    const QString quotedSecond = message.arg(quoteForMessage(second));
    QCOMPARE(withElidedValues(quotedFirst), message.arg(elideForMessage(first)));
    QCOMPARE(withElidedValues(quotedFirst), withElidedValues(quotedSecond));
    QCOMPARE(withElidedValues(quotedFirst).count(QChar(0x2026)), 1);
    QCOMPARE(withWholeValues(quotedFirst), message.arg(escapeControls(first)));
    QVERIFY(withWholeValues(quotedFirst).contains(QStringLiteral("a\\u{2026} 1\\x0Ab")));
    QCOMPARE(withWholeValues(quotedSecond), message.arg(escapeControls(second)));
    // A value that holds the marks a message keeps its forms apart with.
    const QString marked = first + QString::fromUcs4(U"\uFDD0\uFDD1\uFDD2\uFDD3");
    QCOMPARE(withWholeValues(message.arg(quoteForMessage(marked))), message.arg(escapeControls(marked)));
    // A short value is the same either way, and carries nothing more.
    const QString shortOne = message.arg(quoteForMessage(QStringLiteral("kit \u2026")));
    QCOMPARE(shortOne, message.arg(QStringLiteral("kit \\u{2026}")));
    QCOMPARE(withElidedValues(shortOne), shortOne);
    QCOMPARE(withWholeValues(shortOne), shortOne);
}

void tst_MessageText::undecodedBytes()
{
#ifdef Q_OS_WIN
    QSKIP("Windows hands over names as UTF-16");
#endif
    char argument[] = "kit\xff\xc3\xa9\xef\xbb\xbf\xed\xa0\x80";
    char *argv[] = {argument};
    const QString name = systemArguments(1, argv).constFirst();
    QCOMPARE(systemName(name), QByteArray(argument));
    QCOMPARE(escapeControls(name), QStringLiteral("kit\\xFFé\\u{FEFF}\\xED\\xA0\\x80"));
    QCOMPARE(shellQuote(name), QStringLiteral("$'kit\\377é\\357\\273\\277\\355\\240\\200'"));
}

void tst_MessageText::everyCharacterOfAPlane_data()
{
    QTest::addColumn<uint>("first");
    for (char32_t plane = 0; plane <= 16; ++plane)
        QTest::newRow(qPrintable(QStringLiteral("plane %1").arg(plane))) << uint(plane << 16);
}

// Each character of a plane, NUL and the surrogates aside, comes in as the
// system's bytes and goes back out as the same bytes, surrogate pairs whose
// low half lies in U+DC80-DCFF included.
void tst_MessageText::everyCharacterOfAPlane()
{
#ifdef Q_OS_WIN
    QSKIP("Windows hands over names as UTF-16");
#endif
    QFETCH(uint, first);
    std::vector<char32_t> characters;
    for (char32_t c = std::max(first, 1u); c <= first + 0xFFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            characters.push_back(c);
    }
    const QString text = QString::fromUcs4(characters.data(), qsizetype(characters.size()));
    QByteArray bytes = text.toUtf8();
    char *argv[] = {bytes.data()};
    const QString name = systemArguments(1, argv).constFirst();
    QCOMPARE(name, text);
    const QByteArray back = systemName(name);
    if (back != bytes) {
        qsizetype at = 0;
        while (at < back.size() && at < bytes.size() && back.at(at) == bytes.at(at))
            ++at;
        QFAIL(qPrintable(QStringLiteral("bytes differ from %1 on: %2").arg(at).arg(QString::fromLatin1(back.mid(at, 8).toHex()))));
    }
}

QTEST_GUILESS_MAIN(tst_MessageText)
#include "tst_messagetext.moc"
