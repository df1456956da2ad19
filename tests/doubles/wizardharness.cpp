#include "doubles/wizardharness.h"

#include <QGroupBox>
#include <QTest>
#include <QTimer>

WizardHarness::WizardHarness(Registry *registry, ProcessServices *processes)
{
    form = std::make_unique<Form1>(vars, Services{fakes.messages, fakes.remoteApi,
                                                  registry ? *registry : fakes.registry,
                                                  processes ? *processes : fakes.processes, fakes.ticks});
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("wizard window was not exposed");
}

WizardHarness::~WizardHarness() = default;

void WizardHarness::click(const char *name)
{
    QAbstractButton *b = button(name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

void WizardHarness::goToPage(int page, const char *platform)
{
    if (page >= 2)
        click("Command1");
    if (page >= 3) {
        click("Option1");
        click("Command1");
    }
    if (page >= 4) {
        if (platform && *platform)
            click(platform);
        click("Command1");
    }
}

QString WizardHarness::snapshot() const
{
    auto onOff = [](const QWidget *w) { return w->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"); };
    auto buttonState = [&](const char *name) {
        const QAbstractButton *b = button(name);
        return onOff(b) + QStringLiteral(":'") + b->text() + QLatin1Char('\'');
    };

    QStringList frames;
    for (const char *name : {"Frame1", "Frame2", "Frame3", "Frame4"})
        if (!control(name)->isHidden())
            frames << QString::fromLatin1(name).replace(QLatin1String("Frame"), QLatin1String("F"));

    QString options;
    for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
        options += button(name)->isChecked() ? QLatin1Char('x') : QLatin1Char('-');

    return QStringLiteral("page=%1 frames=%2 next=%3 back=%4 cancel=%5 options=%6")
        .arg(vars.PageState)
        .arg(frames.join(QLatin1Char(',')), buttonState("Command1"), buttonState("Command2"),
             onOff(button("Command3")), options);
}

QString WizardHarness::installLook() const
{
    QStringList shown;
    for (const char *name : {"Label2", "Label4", "Label5", "Label6", "Label13", "Picture3"})
        if (!control(name)->isHidden())
            shown << QString::fromLatin1(name);
    QStringList enabled;
    for (const char *name : {"Command1", "Command2", "Command3"})
        if (control(name)->isEnabled())
            enabled << QString::fromLatin1(name);
    return QStringLiteral("shown=%1 enabled=%2 timer1=%3")
        .arg(shown.join(QLatin1Char(',')), enabled.join(QLatin1Char(',')),
             control<QTimer>("Timer1")->isActive() ? QLatin1String("on") : QLatin1String("off"));
}
