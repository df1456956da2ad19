#pragma once

#include "install/exitstatus.h"
#include "platform/services.h"
#include "wizard/state/globalvar.h"

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <optional>

class LicenseBox;
class OptionButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class InstallRun;
struct LaunchCommand;

// The wizard's only window: four pages on one spot, Back, Next and Cancel
// below them, and the install run started by Next on the last page.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    Form1(GlobalVar &vars, const Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    // What the user is told, before any window opens, when another Setup is
    // already running on this machine; `holder` names the lock and its holder.
    static QString alreadyRunningMessage(const QString &holder);

    // The install run that Next on the ready page drives, for whoever wants
    // to follow it (a log).
    InstallRun &installRun() { return *m_run; }

    // True once the window has been closed for good.
    bool isUnloaded() const { return m_unloaded; }
    // The program's exit status once the window is gone: success after the
    // install, or cancelled before or after the first run.
    int exitStatus() const;

    // The passive install: the ready page as the installing page from the
    // start, following `run`, which someone else drives with `listA` or list
    // B chosen. Nothing asks a question but Cancel, which asks as ever and
    // abandons the run.
    void showPassive(InstallRun &run, bool listA);
    // The passive install is over with `status`: the window says its last
    // words (the message a box would have shown, else `reason`) and closes
    // by itself after a short time, never waiting for a click.
    void endPassive(int status, const QString &reason);
    // How long the last words stay before the window closes itself.
    static std::chrono::milliseconds passiveCloseDelay(ExitStatus status);
    // A request to stop from outside (a signal): the Cancel question, if
    // open, is answered No so that it holds nothing; `atOnce`, the last words
    // go at once.
    void passiveStopRequested(bool atOnce);

    // The progress track's Left and Width and the block's Left, in twips
    // within the installing page.
    float picture2Left() const;
    float picture2Width() const;
    float picture3Left() const { return m_picture3Left; }
    void setPicture3Left(float left);

public slots:
    void Form_Load();
    void Form_Unload(int16_t &cancel);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();

    void Text1_Change();
    void Timer1_Timer();
    void TimerOUT_Timer();

signals:
    // The window has been closed for good.
    void unloaded();

public:
    // The install run's two waits (InstallRun's); both keep the window alive
    // meanwhile. Runs the command and returns when its process has ended (or
    // the window has been closed); false, with the reason, when it could not
    // start or ended by a signal or an exception.
    bool LaunchAndWait(const LaunchCommand &command, QString *error);
    // Returns after `ticks` ticks of TimerOUT (at least one).
    void PauseTicks(int ticks);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createWelcomePage();
    void createPlatformPage();
    void createReadyPage();
    void setUpTabOrder();
    void centreOnScreen();

    // Page and option changes, each as one property setting.
    void setFrameVisible(QGroupBox *frame, bool visible);
    void selectOption(QRadioButton *option);
    static void clearOption(QRadioButton *option);
    void keepCoveredControlsOutOfReach();
    void settleFocus(QWidget *focusBefore);

    void unload();

    // The install run.
    void InstallSequence();
    void showInstallingPage();
    void backToReadyPage();

    GlobalVar &m_vars;
    Services m_services;
    bool m_unloaded = false;
    std::optional<ExitStatus> m_exitStatus;
    InstallRun *m_run = nullptr;
    bool m_placed = false;
    float m_picture3Left = 0;

    // Controls, by their designer names.
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame4 = nullptr;
    LicenseBox *Text1 = nullptr;
    OptionButton *Option1 = nullptr;
    OptionButton *Option2 = nullptr;
    OptionButton *Option3 = nullptr;
    OptionButton *Option4 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QLabel *Picture1 = nullptr;
    QWidget *Picture2 = nullptr;
    QLabel *Picture3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr; // the passive install's note and last words
    QString m_passiveMessage;
    bool m_passiveAtOnce = false;
    QTimer *Timer1 = nullptr;
    QTimer *TimerOUT = nullptr;
};
