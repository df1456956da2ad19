// Next on the ready page: check for the handheld, turn the page into the
// installing page, find the application manager and run it once per INI file
// of the chosen platform's list, then report success and close.
#include "wizard/form1.h"

#include "device/module1.h"
#include "install/installlists.h"
#include "install/launchcommand.h"
#include "platform/messageboxes.h"
#include "platform/processservices.h"
#include "platform/registry.h"
#include "wizard/licensebox.h"
#include "wizard/optionbutton.h"
#include "wizard/trackgeometry.h"

#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace {
const QString AppManagerKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");
} // namespace

void Form1::InstallSequence()
{
    // The disabled buttons are not the only guard: nothing may start a
    // second run while one is under way.
    if (m_installing || m_unloaded)
        return;
    QScopedValueRollback installing(m_installing, true);

    if (!Module1::DeviceConnected(m_services.remoteApi)) {
        m_services.messages.information(
            this, tr("No mobile device connected. Connect the Pocket PC to your host Computer and click Next."));
        return;
    }

    // The platform choice as it stands now: nothing done during the run may
    // add a list to it.
    const bool runListA = Option3->isChecked();
    const bool runListB = Option4->isChecked();
    if (!runListA && !runListB) {
        m_services.messages.information(
            this, tr("No Pocket PC version has been chosen, so there is nothing to install. "
                     "Click Back and choose your Pocket PC version."));
        return;
    }

    showInstallingPage();

    const QString installDir = m_services.processes.currentDirectory();
    QString whyNoManager;
    const QString managerPath =
        m_services.registry.defaultValue(Registry::LocalMachine, AppManagerKey, &whyNoManager).value_or(QString());
    if (managerProgram(managerPath).isEmpty()) {
        backToReadyPage();
        if (whyNoManager.isEmpty())
            whyNoManager = tr("The registry has no path for it under HKEY_LOCAL_MACHINE\\%1.").arg(AppManagerKey);
        m_services.messages.information(
            this, tr("Setup cannot find the Pocket PC application manager (CEAPPMGR.EXE). %1\n\n"
                     "Install the desktop synchronisation software or correct its registry entry, then click Next.")
                      .arg(whyNoManager));
        return;
    }

    // The manager is not trusted to say that it found nothing to install:
    // every INI file must be there, at exactly the path it will be given.
    QStringList missing;
    const auto checkList = [&](const InstallList &list) {
        for (const InstallStep &step : list) {
            if (!m_services.processes.isReadableFile(iniFilePath(installDir, step.iniName)))
                missing << step.iniName.sliced(1);
        }
    };
    if (runListA)
        checkList(ListA);
    if (runListB)
        checkList(ListB);
    missing.removeDuplicates();
    if (!missing.isEmpty()) {
        backToReadyPage();
        // A deleted folder has no name left to show.
        const QString folder = installDir.isEmpty()
            ? tr("(the current folder, which no longer exists or cannot be read)")
            : elideForMessage(installDir);
        m_services.messages.information(
            this, tr("Setup cannot find these installation files in the folder %1:\n%2\n\n"
                     "Start Setup from the folder that holds its installation files.")
                      .arg(folder, missing.join(QLatin1Char('\n'))));
        return;
    }

    Label13->setVisible(true);

    if (runListA && !RunList(ListA, managerPath, installDir))
        return;
    if (runListB && !RunList(ListB, managerPath, installDir))
        return;

    Timer1->stop();
    Picture3->setVisible(false);
    m_services.messages.information(this, m_vars.SuccessMessage);
    m_vars.ExitConfirmed = True;
    unload();
}

// Runs one list; false when the run must end here (the window was closed,
// or a run could not be started or ended abnormally and the user has been
// told).
bool Form1::RunList(std::span<const InstallStep> list, const QString &managerPath,
                    const QString &installDir)
{
    for (const InstallStep &step : list) {
        const LaunchCommand command = buildLaunchCommand(managerPath, installDir, step.iniName);
        QString error;
        if (!LaunchAndWait(command, &error)) {
            backToReadyPage();
            m_services.messages.information(
                this, tr("The application manager did not complete its run for %1:\n%2\n\n"
                         "Check the application manager, then click Next to start again.")
                          .arg(step.iniName.sliced(1), error));
            return false;
        }
        if (m_unloaded)
            return false;
        if (step.pauseTicks)
            PauseTicks(*step.pauseTicks);
        if (m_unloaded)
            return false;
    }
    return true;
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
