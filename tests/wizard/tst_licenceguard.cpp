// The licence box can be read, scrolled and selected, never changed.
#include "doubles/wizardharness.h"
#include "wizard/licensebox.h"

#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class tst_LicenceGuard : public QObject
{
    Q_OBJECT

private slots:
    void editsAreUndone_data();
    void editsAreUndone();
    void separatorEditsAreUndone_data();
    void separatorEditsAreUndone();
    void puttingBackTheSameTextSignalsNothing();
    void boxStaysUsable();
};

void tst_LicenceGuard::editsAreUndone_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key");

    QTest::newRow("typing") << "x" << 0 << 0;
    QTest::newRow("Enter") << "" << 0 << int(Qt::Key_Return);
    QTest::newRow("Backspace") << "" << 0 << int(Qt::Key_Backspace);
    QTest::newRow("Delete") << "" << 0 << int(Qt::Key_Delete);
    QTest::newRow("cut") << "" << int(Qt::ControlModifier) << int(Qt::Key_X);
    QTest::newRow("paste") << "" << int(Qt::ControlModifier) << int(Qt::Key_V);
    QTest::newRow("undo") << "" << int(Qt::ControlModifier) << int(Qt::Key_Z);
}

void tst_LicenceGuard::editsAreUndone()
{
    QFETCH(QString, keys);
    QFETCH(int, modifiers);
    QFETCH(int, key);

    WizardHarness wizard;
    wizard.goToPage(2);
    auto *box = wizard.control<LicenseBox>("Text1");
    const QString saved = wizard.vars.SavedLicenseText;
    QCOMPARE(box->text(), saved);

    QApplication::clipboard()->setText(QStringLiteral("pasted words"));
    box->setFocus();
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(40);
    cursor.setPosition(60, QTextCursor::KeepAnchor); // a selection, for cut and overtyping
    box->setTextCursor(cursor);

    QSignalSpy changes(box, &QPlainTextEdit::textChanged);
    if (!keys.isEmpty())
        QTest::keyClicks(box, keys);
    else
        QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(box->text(), saved);
    QVERIFY(changes.count() <= 3); // the edit, the guard's restore, at most one more
}

// Edits that the box's plain text does not show: a line or paragraph
// separator in place of a line break or a space, a no-break space for a space.
void tst_LicenceGuard::separatorEditsAreUndone_data()
{
    QTest::addColumn<QChar>("over"); // what is selected: a line break or a space
    QTest::addColumn<QString>("typed");

    QTest::newRow("Shift+Enter over a line break") << QChar('\n') << QString();
    QTest::newRow("line separator over a space") << QChar(' ') << QString(QChar::LineSeparator);
    QTest::newRow("paragraph separator over a space") << QChar(' ') << QString(QChar::ParagraphSeparator);
    QTest::newRow("no-break space over a space") << QChar(' ') << QString(QChar::Nbsp);
}

void tst_LicenceGuard::separatorEditsAreUndone()
{
    QFETCH(QChar, over);
    QFETCH(QString, typed);

    WizardHarness wizard;
    wizard.goToPage(2);
    auto *box = wizard.control<LicenseBox>("Text1");
    const QString raw = box->document()->toRawText();
    const int blocks = box->document()->blockCount();

    // Far down, so that the view has scrolled and must stay where it is.
    box->setFocus();
    QTextCursor cursor = box->textCursor();
    const int at = int(box->toPlainText().indexOf(over, 1800));
    cursor.setPosition(at);
    cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    const int scroll = box->verticalScrollBar()->value();
    QVERIFY(scroll > 0);

    QSignalSpy changes(box, &QPlainTextEdit::textChanged);
    if (typed.isEmpty())
        QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    else
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, typed, Qt::NoModifier);
    QVERIFY(changes.count() > 0); // the edit really reached the box

    QCOMPARE(box->document()->toRawText(), raw);
    QCOMPARE(box->document()->blockCount(), blocks);
    QCOMPARE(box->text(), wizard.vars.SavedLicenseText);
    QCOMPARE(box->verticalScrollBar()->value(), scroll);
}

void tst_LicenceGuard::puttingBackTheSameTextSignalsNothing()
{
    WizardHarness wizard;
    auto *box = wizard.control<LicenseBox>("Text1");
    QSignalSpy changes(box, &QPlainTextEdit::textChanged);
    box->setText(wizard.vars.SavedLicenseText);
    QCOMPARE(changes.count(), 0);
    // Changing it from the program is undone as well.
    box->setText(QStringLiteral("something else"));
    QCOMPARE(box->text(), wizard.vars.SavedLicenseText);
}

void tst_LicenceGuard::boxStaysUsable()
{
    WizardHarness wizard;
    wizard.goToPage(2);
    auto *box = wizard.control<LicenseBox>("Text1");
    QVERIFY(box->isEnabled());
    QVERIFY(!box->isReadOnly());
    box->setFocus();
    QVERIFY(box->hasFocus());
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->textCursor().selectedText().size(), box->toPlainText().size());
    QVERIFY(box->verticalScrollBar()->maximum() > 0); // long enough to scroll
}

QTEST_MAIN(tst_LicenceGuard)
#include "tst_licenceguard.moc"
