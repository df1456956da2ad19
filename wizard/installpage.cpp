// Next on the ready page: the window's side of the install run. The run
// itself (probe, registry, INI check, the runs and pauses) is InstallRun's;
// the window turns the ready page into the installing page and back, and
// shows what the run has to say.
#include "wizard/form1.h"

#include "install/installrun.h"
#include "install/progressanimation.h"
#include "platform/dialogs/messageboxes.h"
#include "wizard/optionbutton.h"
#include "wizard/trackgeometry.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

void Form1::InstallSequence()
{
    if (m_run->isRunning() || m_unloaded)
        return;

    bool installingShown = false;
    const QMetaObject::Connection installing = connect(m_run, &InstallRun::installing, this, [&] {
        installingShown = true;
        showInstallingPage();
    });
    const QMetaObject::Connection kitReady =
        connect(m_run, &InstallRun::kitReady, this, [this] { Label13->setVisible(true); });
    const InstallOutcome outcome = m_run->run(Option3->isChecked(), Option4->isChecked());
    disconnect(installing);
    disconnect(kitReady);

    // Closed under the run: nothing may touch the window any more.
    if (m_unloaded)
        return;
    if (outcome.status != ExitStatus::Success) {
        if (installingShown)
            backToReadyPage();
        m_services.messages.information(this, outcome.message);
        return;
    }

    Timer1->stop();
    Picture3->setVisible(false);
    m_services.messages.information(this, m_vars.SuccessMessage);
    m_exitStatus = ExitStatus::Success;
    m_vars.ExitConfirmed = VbTrue;
    unload();
}

bool Form1::LaunchAndWait(const LaunchCommand &command, QString *error)
{
    return m_run->LaunchAndWait(command, error);
}

void Form1::PauseTicks(int ticks)
{
    m_run->PauseTicks(ticks);
}

void Form1::Timer1_Timer()
{
    setPicture3Left(nextBlockLeft(picture3Left(), picture2Left(), picture2Width()));
}

void Form1::TimerOUT_Timer()
{
    m_run->pauseTick();
}

int Form1::exitStatus() const
{
    return toInt(m_exitStatus.value_or(ExitStatus::Success));
}

void Form1::showInstallingPage()
{
    Label6->setVisible(false);
    Command3->setEnabled(false);
    Timer1->start();
    Picture3->setVisible(true);
    Command1->setEnabled(false);
    Label2->setVisible(true);
    Label4->setVisible(false);
    Label5->setVisible(false);
    Command2->setEnabled(false);
}

// Undoes the installing look when a run cannot go on, so that the user can
// put things right and press Next again, go back, or cancel.
void Form1::backToReadyPage()
{
    Timer1->stop();
    Picture3->setVisible(false);
    setPicture3Left(Track::Left);
    Label2->setVisible(false);
    Label13->setVisible(false);
    Label4->setVisible(true);
    Label5->setVisible(true);
    Label6->setVisible(true);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    Command1->setFocus();
}
