// Cancel and the window's close request: one question, only Yes leaves.
#include "doubles/wizardharness.h"

#include <QTest>

namespace {
const QString Question = QStringLiteral("Question: Are you sure you want to cancel Torvex Setup?");

enum class Way { Cancel, CloseWindow };

void leave(WizardHarness &wizard, Way way)
{
    if (way == Way::Cancel)
        wizard.click("Command3");
    else
        wizard.form->close();
}
} // namespace

Q_DECLARE_METATYPE(Way)

class tst_CancelClose : public QObject
{
    Q_OBJECT

private slots:
    void answerNo_data();
    void answerNo();
    void answerYes_data();
    void answerYes();
    void escapeDoesNotCancel();
    void confirmedExitAsksNoMore();
};

void tst_CancelClose::answerNo_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<int>("page");
    for (int page = 1; page <= 4; ++page) {
        QTest::addRow("Cancel on page %d", page) << Way::Cancel << page;
        QTest::addRow("close on page %d", page) << Way::CloseWindow << page;
    }
}

void tst_CancelClose::answerNo()
{
    QFETCH(Way, way);
    QFETCH(int, page);

    WizardHarness wizard;
    wizard.goToPage(page);
    const QString before = wizard.snapshot();

    wizard.fakes.messages.answers = {false};
    leave(wizard, way);
    QCOMPARE(wizard.fakes.messages.shown, QStringList{Question});
    QVERIFY(wizard.form->isVisible());
    QVERIFY(!wizard.form->isUnloaded());
    QCOMPARE(wizard.snapshot(), before);
    QCOMPARE(wizard.vars.ExitConfirmed, VbFalse);

    // Asking again asks again.
    wizard.fakes.messages.answers = {false};
    leave(wizard, way);
    QCOMPARE(wizard.fakes.messages.shown, (QStringList{Question, Question}));
    QVERIFY(wizard.form->isVisible());
}

void tst_CancelClose::answerYes_data()
{
    answerNo_data();
    // Next on page 4 first, and the manager could not start.
    QTest::newRow("Cancel after the first run could not start") << Way::Cancel << 4;
}

void tst_CancelClose::answerYes()
{
    QFETCH(Way, way);
    QFETCH(int, page);

    const bool startFailed = QTest::currentDataTag() == QLatin1String("Cancel after the first run could not start");

    WizardHarness wizard;
    wizard.goToPage(page);
    if (startFailed) {
        wizard.fakes.registry.localMachine.insert(
            QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE"),
            QStringLiteral("/opt/ceappmgr"));
        wizard.fakes.processes.failWith = QStringLiteral("Exec format error");
        wizard.click("Command1");
        wizard.fakes.messages.shown.clear();
    }
    wizard.fakes.messages.answers = {true};
    leave(wizard, way);

    QCOMPARE(wizard.fakes.messages.shown, QStringList{Question});
    QCOMPARE(wizard.vars.ExitConfirmed, VbTrue);
    QVERIFY(wizard.form->isUnloaded());
    QCOMPARE(wizard.form->exitStatus(), 14); // no run was started
    QVERIFY(!wizard.form->isVisible());
    // Nothing ran on the way out.
    QVERIFY(wizard.fakes.processes.started.isEmpty());
}

void tst_CancelClose::escapeDoesNotCancel()
{
    for (int page = 1; page <= 4; ++page) {
        WizardHarness wizard;
        wizard.goToPage(page);
        QWidget *focused = wizard.form->focusWidget();
        QTest::keyClick(focused ? focused : wizard.form.get(), Qt::Key_Escape);
        QVERIFY(wizard.fakes.messages.shown.isEmpty());
        QVERIFY(wizard.form->isVisible());
        QCOMPARE(wizard.vars.PageState, page);
    }
}

void tst_CancelClose::confirmedExitAsksNoMore()
{
    WizardHarness wizard;
    wizard.vars.ExitConfirmed = VbTrue;
    wizard.form->close();
    QVERIFY(wizard.fakes.messages.shown.isEmpty());
    QVERIFY(wizard.form->isUnloaded());
    // A second close request on the unloaded window asks nothing either.
    wizard.form->close();
    QVERIFY(wizard.fakes.messages.shown.isEmpty());
}

QTEST_MAIN(tst_CancelClose)
#include "tst_cancelclose.moc"
