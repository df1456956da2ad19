// The passive install: the window shows a run that asks nothing. The run is
// driven from outside (the same run as without a window); the window only
// follows it on the installing page, keeps Cancel, and closes by itself.
#include "wizard/form1.h"

#include "install/installrun.h"
#include "platform/text/messagetext.h"
#include "platform/time/ticksource.h"
#include "wizard/optionbutton.h"
#include "wizard/twips.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace std::chrono_literals;

void Form1::showPassive(InstallRun &run, bool listA)
{
    // Cancel and the close request abandon this run, and its runs decide
    // between cancelled and stopped.
    m_run = &run;
    m_vars.PageState = 4;
    setFrameVisible(Frame2, false);
    setFrameVisible(Frame1, false);
    setFrameVisible(Frame4, false);
    setFrameVisible(Frame3, true);
    // The choice the command line made, for whoever reads the window.
    (listA ? Option3 : Option4)->setChecked(true);

    // Where the ready page says what Next and Back would do.
    Label15 = new QLabel(tr("Setup is installing without asking anything. Leave the Pocket PC in its dock "
                            "until this window has closed. To stop the installation press Cancel."),
                         Frame3);
    Label15->setObjectName(QStringLiteral("Label15"));
    // The last words quote values (a kit folder, the registry's manager path)
    // that may hold anything, markup included.
    Label15->setTextFormat(Qt::PlainText);
    Label15->setGeometry(twipsRect(720, 960, 6135, 975));
    Label15->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label15->setWordWrap(true);
    Label15->show();

    connect(&run, &InstallRun::kitReady, this, [this] { Label13->setVisible(true); });
    // What the window would have shown in a box.
    connect(&run, &InstallRun::attemptEnded, this,
            [this](const InstallOutcome &outcome) { m_passiveMessage = outcome.message; });

    showInstallingPage();
    Label6->setVisible(false);
    // The only question left: Cancel stays.
    Command3->setEnabled(true);
    Command3->setFocus();
}

void Form1::endPassive(int status, const QString &reason)
{
    if (m_unloaded)
        return;
    const auto exitStatus = static_cast<ExitStatus>(status);
    Timer1->stop();
    Picture3->setVisible(false);
    Label13->setVisible(false);
    Label2->setVisible(false);
    Command3->setEnabled(false);
    const QString words = exitStatus == ExitStatus::Success ? m_vars.SuccessMessage
                          : !m_passiveMessage.isEmpty()     ? m_passiveMessage
                                                            : reason;
    // The room the installing label had is the last words' now.
    Label15->setGeometry(twipsRect(720, 960, 6135, 2415));
    Label15->setText(withElidedValues(words) + QStringLiteral("\n\n") + tr("This window closes by itself."));
    m_exitStatus = exitStatus;
    m_vars.ExitConfirmed = VbTrue;
    QTimer *close = m_services.ticks.createTimer(m_passiveAtOnce ? 0ms : passiveCloseDelay(exitStatus), this);
    close->setSingleShot(true);
    connect(close, &QTimer::timeout, this, &Form1::unload);
    close->start();
}

std::chrono::milliseconds Form1::passiveCloseDelay(ExitStatus status)
{
    // Long enough to be read at the dock; a failure has more to say.
    return status == ExitStatus::Success ? 5s : 15s;
}

void Form1::passiveStopRequested(bool atOnce)
{
    // Open, the question would hold the run and the program until someone
    // answers it, whatever the signals say.
    if (QWidget *question = QApplication::activeModalWidget())
        question->close();
    if (!atOnce)
        return;
    m_passiveAtOnce = true;
    if (m_exitStatus)
        unload();
}
