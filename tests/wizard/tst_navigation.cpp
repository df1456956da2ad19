// Next, Back and the option rules, driven through the real widgets.
#include "doubles/wizardharness.h"
#include "install/installrun.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

// Records, in order, the visible effects of a transition on the controls it
// touches: shown/hidden frames and labels, enabled buttons with their caption
// at that moment, and selected or cleared options.
class ChangeRecorder : public QObject
{
public:
    explicit ChangeRecorder(const WizardHarness &wizard)
    {
        for (const char *name : {"Frame1", "Frame2", "Frame3", "Frame4", "Label2", "Label4", "Label5",
                                 "Command1", "Command2"})
            wizard.control(name)->installEventFilter(this);
        for (const char *name : {"Option1", "Option2", "Option3", "Option4"}) {
            QAbstractButton *option = wizard.button(name);
            connect(option, &QAbstractButton::toggled, this, [this, option](bool on) {
                changes << option->objectName() + (on ? QLatin1String(" selected") : QLatin1String(" cleared"));
            });
        }
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *w = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::ShowToParent:
            changes << w->objectName() + QLatin1String(" shown");
            break;
        case QEvent::HideToParent:
            changes << w->objectName() + QLatin1String(" hidden");
            break;
        case QEvent::EnabledChange:
            changes << QStringLiteral("%1 %2 '%3'")
                           .arg(w->objectName(), w->isEnabled() ? QLatin1String("on") : QLatin1String("off"),
                                static_cast<QPushButton *>(w)->text());
            break;
        default:
            break;
        }
        return false;
    }

    QStringList changes;
};

} // namespace

class tst_Navigation : public QObject
{
    Q_OBJECT

private slots:
    void loadStep();
    void paths_data();
    void paths();
    void transitionOrder_data();
    void transitionOrder();
    void pageStateOnlyMovesByNavigation();
    void coveredLicenceControlsAreOutOfReach_data();
    void coveredLicenceControlsAreOutOfReach();
    void keyboardChoosesPlatform();
    void readyPageTexts();
};

void tst_Navigation::loadStep()
{
    WizardHarness wizard;
    QCOMPARE(wizard.vars.PageState, 1);
    QCOMPARE(wizard.vars.ExitConfirmed, VbFalse);
    QCOMPARE(wizard.form->findChild<InstallRun *>()->pauseTickCount(), 0);
    QCOMPARE(wizard.form->findChild<InstallRun *>()->pauseTickTarget(), 0);
    QCOMPARE(wizard.vars.CancelQuestion, QStringLiteral("Are you sure you want to cancel Torvex Setup?"));
    QCOMPARE(wizard.vars.SuccessMessage, QStringLiteral("Setup has successfully installed Torvex on your Pocket PC."));
    QCOMPARE(wizard.vars.SavedLicenseText.size(), 2362);
    QCOMPARE(wizard.form->windowTitle(), QStringLiteral("Torvex Setup"));
    QCOMPARE(wizard.control<QGroupBox>("Frame1")->title(), QStringLiteral("Torvex License Agreement"));
    QCOMPARE(wizard.control<QLabel>("Label2")->text(), QStringLiteral("Setup is installing Torvex on your Pocket PC"));

    QCOMPARE(wizard.snapshot(),
             QStringLiteral("page=1 frames=F1,F2 next=on:'Next  >>' back=off:'<<  Back' cancel=on options=-x--"));
    QVERIFY(wizard.control("Command1")->hasFocus());
    QVERIFY(wizard.control("Picture3")->isHidden());
    QVERIFY(wizard.control("Label13")->isHidden());
    QVERIFY(!wizard.control<QTimer>("Timer1")->isActive());
    QVERIFY(!wizard.control<QTimer>("TimerOUT")->isActive());
    // The licence box and its choices exist and are not hidden, only covered.
    for (const char *name : {"Text1", "Option1", "Option2"})
        QVERIFY2(!wizard.control(name)->isHidden(), name);
}

void tst_Navigation::paths_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("welcome -> licence")
        << QStringList{"Command1"}
        << "page=2 frames=F1 next=off:'Next  >>' back=on:'<<  Back' cancel=on options=-x--";
    QTest::newRow("agree")
        << QStringList{"Command1", "Option1"}
        << "page=2 frames=F1 next=on:'Next  >>' back=on:'<<  Back' cancel=on options=x---";
    QTest::newRow("agree, then disagree")
        << QStringList{"Command1", "Option1", "Option2"}
        << "page=2 frames=F1 next=off:'Next  >>' back=on:'<<  Back' cancel=on options=-x--";
    QTest::newRow("licence -> platform")
        << QStringList{"Command1", "Option1", "Command1"}
        << "page=3 frames=F4 next=off:'Next >>' back=on:'<< Back' cancel=on options=x---";
    QTest::newRow("earlier platform")
        << QStringList{"Command1", "Option1", "Command1", "Option4"}
        << "page=3 frames=F4 next=on:'Next >>' back=on:'<< Back' cancel=on options=x--x";
    QTest::newRow("switch platform keeps Next")
        << QStringList{"Command1", "Option1", "Command1", "Option4", "Option3"}
        << "page=3 frames=F4 next=on:'Next >>' back=on:'<< Back' cancel=on options=x-x-";
    QTest::newRow("platform -> ready")
        << QStringList{"Command1", "Option1", "Command1", "Option3", "Command1"}
        << "page=4 frames=F3 next=on:'Next >>' back=on:'<< Back' cancel=on options=x-x-";
    QTest::newRow("ready -> back: no platform chosen")
        << QStringList{"Command1", "Option1", "Command1", "Option4", "Command1", "Command2"}
        << "page=3 frames=F4 next=off:'Next >>' back=on:'<< Back' cancel=on options=x---";
    QTest::newRow("platform -> back: must agree again")
        << QStringList{"Command1", "Option1", "Command1", "Option3", "Command2"}
        << "page=2 frames=F1 next=off:'Next >>' back=on:'<< Back' cancel=on options=-xx-";
    QTest::newRow("licence -> back: only Next's caption changes")
        << QStringList{"Command1", "Command2"}
        << "page=1 frames=F2 next=on:'Next >>' back=off:'<<  Back' cancel=on options=-x--";
    QTest::newRow("back to welcome after agreeing, then forward again")
        << QStringList{"Command1", "Option1", "Command2", "Command1"}
        << "page=2 frames=F1 next=off:'Next >>' back=on:'<<  Back' cancel=on options=-x--";
    QTest::newRow("from platform back to welcome and forward to licence")
        << QStringList{"Command1", "Option1", "Command1", "Command2", "Command2", "Command1"}
        << "page=2 frames=F1 next=off:'Next >>' back=on:'<< Back' cancel=on options=-x--";
    QTest::newRow("disabled Next does nothing")
        << QStringList{"Command1", "Command1", "Command1"}
        << "page=2 frames=F1 next=off:'Next  >>' back=on:'<<  Back' cancel=on options=-x--";
}

void tst_Navigation::paths()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, expected);

    WizardHarness wizard;
    for (const QString &name : clicks)
        wizard.click(name.toLatin1().constData());
    QCOMPARE(wizard.snapshot(), expected);
    QCOMPARE(wizard.vars.ExitConfirmed, VbFalse);
    QVERIFY(wizard.fakes.messages.shown.isEmpty());
}

void tst_Navigation::transitionOrder_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("click");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("1 Next")
        << QStringList{} << "Command1"
        << QStringList{"Frame2 hidden", "Command1 off 'Next  >>'", "Command2 on '<<  Back'"};
    QTest::newRow("1 Next after agreeing and going back")
        << QStringList{"Command1", "Option1", "Command2"} << "Command1"
        << QStringList{"Frame2 hidden", "Frame1 shown", "Command1 off 'Next >>'", "Command2 on '<<  Back'",
                       "Option1 cleared", "Option2 selected"};
    QTest::newRow("2 Next")
        << QStringList{"Command1", "Option1"} << "Command1"
        << QStringList{"Command1 off 'Next >>'", "Frame1 hidden", "Frame4 shown", "Label2 hidden", "Label4 shown",
                       "Label5 shown"};
    QTest::newRow("3 Next")
        << QStringList{"Command1", "Option1", "Command1", "Option3"} << "Command1"
        << QStringList{"Frame3 shown", "Frame4 hidden"};
    QTest::newRow("2 Back")
        << QStringList{"Command1", "Option1"} << "Command2"
        << QStringList{"Command2 off '<<  Back'", "Frame1 hidden", "Frame2 shown"};
    QTest::newRow("3 Back")
        << QStringList{"Command1", "Option1", "Command1", "Option4"} << "Command2"
        << QStringList{"Command1 off 'Next >>'", "Frame1 shown", "Frame4 hidden", "Option1 cleared",
                       "Option2 selected"};
    QTest::newRow("4 Back")
        << QStringList{"Command1", "Option1", "Command1", "Option4", "Command1"} << "Command2"
        << QStringList{"Command1 off 'Next >>'", "Frame3 hidden", "Frame4 shown", "Option4 cleared"};
}

void tst_Navigation::transitionOrder()
{
    QFETCH(QStringList, before);
    QFETCH(QString, click);
    QFETCH(QStringList, changes);

    WizardHarness wizard;
    for (const QString &name : before)
        wizard.click(name.toLatin1().constData());
    ChangeRecorder recorder(wizard);
    wizard.click(click.toLatin1().constData());
    QCOMPARE(recorder.changes.join(QLatin1String(" | ")), changes.join(QLatin1String(" | ")));
}

void tst_Navigation::pageStateOnlyMovesByNavigation()
{
    WizardHarness wizard;
    wizard.click("Command1");
    wizard.click("Command2");
    QCOMPARE(wizard.vars.PageState, 1);
    wizard.goToPage(4, "Option4");
    QCOMPARE(wizard.vars.PageState, 4);
    for (const char *option : {"Option1", "Option2", "Option3", "Option4"})
        wizard.form->findChild<QAbstractButton *>(QLatin1String(option))->click();
    QCOMPARE(wizard.vars.PageState, 4);
    QCOMPARE(wizard.vars.ExitConfirmed, VbFalse);
}

void tst_Navigation::coveredLicenceControlsAreOutOfReach_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("welcome") << 1;
    QTest::newRow("platform") << 3;
    QTest::newRow("ready") << 4;
}

void tst_Navigation::coveredLicenceControlsAreOutOfReach()
{
    QFETCH(int, page);

    WizardHarness wizard;
    wizard.goToPage(page, "Option3");
    const QString before = wizard.snapshot();

    // Tab round the whole window twice: the licence box and its choices are
    // never reached, so no Space can agree to the licence from here.
    for (int i = 0; i < 16; ++i) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused != wizard.control("Text1"));
        QVERIFY(focused != wizard.control("Option1"));
        QVERIFY(focused != wizard.control("Option2"));
        QTest::keyClick(focused ? focused : wizard.form.get(), Qt::Key_Tab);
    }
    QCOMPARE(wizard.snapshot(), before);

    // Nor does a mouse click on the spot where "I agree" lies underneath.
    const QPoint agree = wizard.control("Option1")->geometry().center();
    QTest::mouseClick(wizard.form->childAt(agree), Qt::LeftButton, {},
                      wizard.form->childAt(agree)->mapFrom(wizard.form.get(), agree));
    QCOMPARE(wizard.snapshot(), before);
}

void tst_Navigation::keyboardChoosesPlatform()
{
    WizardHarness wizard;
    wizard.goToPage(3);
    for (int i = 0; i < 8 && QApplication::focusWidget() != wizard.control("Option4")
                    && QApplication::focusWidget() != wizard.control("Option3");
         ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(qobject_cast<QRadioButton *>(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(wizard.button("Command1")->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(wizard.button("Option3")->isChecked() != wizard.button("Option4")->isChecked());
    QVERIFY(wizard.button("Command1")->isEnabled());
    // Enter presses the button that has the focus, and only that one.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(wizard.vars.PageState, 3);
    wizard.control("Command1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(wizard.vars.PageState, 4);
}

void tst_Navigation::readyPageTexts()
{
    WizardHarness wizard;
    wizard.goToPage(4);
    QVERIFY(wizard.control("Label4")->isVisible());
    QVERIFY(wizard.control("Label5")->isVisible());
    QVERIFY(wizard.control("Label6")->isVisible());
    QVERIFY(!wizard.control("Label2")->isVisible());
    QVERIFY(!wizard.control("Label13")->isVisible());
    QVERIFY(!wizard.control("Picture3")->isVisible());
}

QTEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
