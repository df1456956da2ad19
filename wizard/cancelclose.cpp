// Cancel and the window's close request: both ask the one Yes/No question,
// unless a Yes or the finished installation has already settled it.
#include "wizard/form1.h"

#include "install/installrun.h"
#include "platform/dialogs/messageboxes.h"

#include <QCloseEvent>
#include <QTimer>

void Form1::Command3_Click()
{
    if (!m_services.messages.question(this, m_vars.CancelQuestion))
        return;
    m_vars.ExitConfirmed = VbTrue;
    unload();
}

void Form1::Form_Unload(int16_t &cancel)
{
    if (m_vars.ExitConfirmed == VbTrue)
        return;
    if (m_services.messages.question(this, m_vars.CancelQuestion))
        m_vars.ExitConfirmed = VbTrue;
    else
        cancel = 1;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    int16_t cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0) {
        event->ignore();
        return;
    }
    // The object itself lives on until the program ends, so a handler still
    // on the stack (an install run waiting for a process) finds it intact and
    // sees that it has been unloaded.
    m_unloaded = true;
    m_run->abandon();
    Timer1->stop();
    TimerOUT->stop();
    // A Yes during an install may leave the handheld partly set up.
    if (!m_exitStatus)
        m_exitStatus = m_run->hasStartedARun() ? ExitStatus::StoppedAfterRuns : ExitStatus::CancelledBeforeRuns;
    event->accept();
    emit unloaded();
}

void Form1::unload()
{
    if (!m_unloaded)
        close();
}
