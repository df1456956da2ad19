// Where the keyboard focus lands after each transition: never on Back or
// Cancel by itself, so that a second Enter does no harm.
#include "doubles/wizardharness.h"

#include <QTest>

class tst_Focus : public QObject
{
    Q_OBJECT

private slots:
    void afterTransition_data();
    void afterTransition();
    void enterFromWelcomeNeverGoesBackOrCancels();
};

void tst_Focus::afterTransition_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("handheld");

    const QStringList toPage3{"Command1", "Option1", "Command1"};
    const QStringList toPage4 = toPage3 + QStringList{"Option3", "Command1"};

    QTest::newRow("1 Next") << QStringList{} << "Command1" << "Option1" << false;
    QTest::newRow("2 Next") << QStringList{"Command1", "Option1"} << "Command1" << "Option4" << false;
    QTest::newRow("3 Next") << (toPage3 + QStringList{"Option4"}) << "Command1" << "Command1" << false;
    QTest::newRow("2 Back") << QStringList{"Command1"} << "Command2" << "Command1" << false;
    QTest::newRow("2 Back after agreeing") << QStringList{"Command1", "Option1"} << "Command2" << "Command1" << false;
    QTest::newRow("3 Back") << toPage3 << "Command2" << "Command2" << false;
    QTest::newRow("4 Back") << toPage4 << "Command2" << "Command2" << false;
    QTest::newRow("4 Next, no handheld") << toPage4 << "Command1" << "Command1" << false;
    // No application manager on record: the run goes back to the ready page.
    QTest::newRow("4 Next, run stopped") << toPage4 << "Command1" << "Command1" << true;
}

void tst_Focus::afterTransition()
{
    QFETCH(QStringList, before);
    QFETCH(QString, press);
    QFETCH(QString, focus);
    QFETCH(bool, handheld);

    WizardHarness wizard;
    wizard.fakes.remoteApi.connected = handheld;
    for (const QString &name : before)
        wizard.click(name.toLatin1().constData());

    // The keyboard user's way: focus on the button, then Enter.
    QWidget *button = wizard.control(press.toLatin1().constData());
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);

    QWidget *focused = wizard.form->focusWidget();
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), focus);
    QVERIFY(focused->isEnabled() && focused->isVisible());
}

void tst_Focus::enterFromWelcomeNeverGoesBackOrCancels()
{
    WizardHarness wizard;
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(wizard.form->focusWidget(), Qt::Key_Return);
    QCOMPARE(wizard.vars.PageState, 2);
    QVERIFY(wizard.fakes.messages.shown.isEmpty());

    // Back from the licence page with Enter: the next Enter goes forward again.
    wizard.click("Option1");
    wizard.click("Command1");
    wizard.click("Command2");
    wizard.control("Command2")->setFocus();
    QTest::keyClick(wizard.form->focusWidget(), Qt::Key_Return);
    QCOMPARE(wizard.vars.PageState, 1);
    QTest::keyClick(wizard.form->focusWidget(), Qt::Key_Return);
    QCOMPARE(wizard.vars.PageState, 2);
    QVERIFY(wizard.fakes.messages.shown.isEmpty());
}

QTEST_MAIN(tst_Focus)
#include "tst_focus.moc"
