#include "wizard/form1.h"

#include "install/installrun.h"
#include "wizard/licensebox.h"
#include "wizard/optionbutton.h"
#include "wizard/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>
#include <QTimer>

#include <algorithm>

Form1::Form1(GlobalVar &vars, const Services &services, QWidget *parent)
    : QWidget(parent), m_vars(vars), m_services(services)
{
    createControls();
    m_run = new InstallRun({m_services.remoteApi, m_services.registry, m_services.processes, m_services.ticks},
                           TimerOUT, this);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    connect(Option3, &QRadioButton::clicked, this, &Form1::Option3_Click);
    connect(Option4, &QRadioButton::clicked, this, &Form1::Option4_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(TimerOUT, &QTimer::timeout, this, &Form1::TimerOUT_Timer);

    Form_Load();

    // Only now: the guard must not see the agreement being put in at creation.
    connect(Text1, &QPlainTextEdit::textChanged, this, &Form1::Text1_Change);
    keepCoveredControlsOutOfReach();
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    m_vars.PageState = 1;
    m_vars.ExitConfirmed = VbFalse;
    m_vars.SavedLicenseText = Text1->text();
    m_vars.CancelQuestion = tr("Are you sure you want to cancel Torvex Setup?");
    setWindowTitle(tr("Torvex Setup"));
    Label2->setText(tr("Setup is installing Torvex on your Pocket PC"));
    Frame1->setTitle(tr("Torvex License Agreement"));
    m_vars.SuccessMessage = tr("Setup has successfully installed Torvex on your Pocket PC.");
}

QString Form1::alreadyRunningMessage(const QString &holder)
{
    return tr("Setup is already running. Try again when it has finished.") + QStringLiteral("\n\n") + holder;
}

void Form1::Text1_Change()
{
    Text1->setText(m_vars.SavedLicenseText);
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    // Where the platform knows the frame before the window is mapped, this
    // centres it exactly; elsewhere the frame counts as nothing for now.
    centreOnScreen();
    if (QWindow *window = windowHandle())
        window->installEventFilter(this);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // A window manager frames the window as it maps it; only then is the
    // title bar's height known. Centre again once, with the frame, before the
    // first paint, so that the window does not sit half a title bar low.
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        windowHandle()->removeEventFilter(this);
        if (!windowHandle()->frameMargins().isNull())
            centreOnScreen();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::centreOnScreen()
{
    QWindow *window = windowHandle();
    const QScreen *screen = this->screen();
    if (!window || !screen)
        return;
    const QMargins frame = window->frameMargins();
    QRect outer = geometry().marginsAdded(frame);
    outer.moveCenter(screen->availableGeometry().center());
    window->setPosition(outer.topLeft() + QPoint(frame.left(), frame.top()));
}

float Form1::picture2Left() const
{
    return float(Picture2->x() * TwipsPerPixel);
}

float Form1::picture2Width() const
{
    return float(Picture2->width() * TwipsPerPixel);
}

void Form1::setPicture3Left(float left)
{
    m_picture3Left = left;
    Picture3->move(pixels(left), Picture3->y());
}

void Form1::setFrameVisible(QGroupBox *frame, bool visible)
{
    frame->setVisible(visible);
    keepCoveredControlsOutOfReach();
}

void Form1::keepCoveredControlsOutOfReach()
{
    // The licence box and its two choices lie on the window under the other
    // pages. While one of those covers them they must not take focus or
    // input, or a Tab and a Space could agree to the licence from another
    // page. Disabled widgets also hand their focus on.
    const bool covered = !Frame2->isHidden() || !Frame3->isHidden() || !Frame4->isHidden();
    for (QWidget *control : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Option1),
                             static_cast<QWidget *>(Option2)})
        control->setEnabled(!covered);
}

void Form1::selectOption(QRadioButton *option)
{
    option->setChecked(true);
    // A selection by the program raises the option's click, as the user's does.
    if (option == Option1)
        Option1_Click();
    else if (option == Option2)
        Option2_Click();
    else if (option == Option3)
        Option3_Click();
    else if (option == Option4)
        Option4_Click();
}

void Form1::clearOption(QRadioButton *option)
{
    // An exclusive group refuses to lose its last selection; clearing is a
    // deliberate program action, so lift the rule for the moment.
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);

    // Qt leaves only one button of a group in the tab chain; with nothing
    // selected the keyboard must still be able to reach the group.
    const auto group = option->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
    if (std::none_of(group.begin(), group.end(), [](const QRadioButton *b) { return b->isChecked(); }))
        for (QRadioButton *button : group)
            button->setFocusPolicy(Qt::StrongFocus);
}
