// Next, Back and the option buttons that gate Next. Each transition is a
// fixed, ordered list of property changes chosen by the page on show.
#include "wizard/form1.h"

#include "wizard/optionbutton.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

void Form1::Command1_Click()
{
    QWidget *const focused = focusWidget();
    switch (m_vars.PageState) {
    case 1:
        setFrameVisible(Frame2, false);
        setFrameVisible(Frame1, true);
        Command1->setEnabled(false);
        Command2->setEnabled(true);
        selectOption(Option2);
        m_vars.PageState = 2;
        break;
    case 2:
        m_vars.PageState = 3;
        Command2->setText(tr("<< Back"));
        Command1->setText(tr("Next >>"));
        Command1->setEnabled(false);
        Command2->setEnabled(true);
        setFrameVisible(Frame1, false);
        setFrameVisible(Frame2, false);
        setFrameVisible(Frame3, false);
        setFrameVisible(Frame4, true);
        Label2->setVisible(false);
        Label4->setVisible(true);
        Label5->setVisible(true);
        clearOption(Option3);
        clearOption(Option4);
        break;
    case 3:
        m_vars.PageState = 4;
        setFrameVisible(Frame1, false);
        setFrameVisible(Frame2, false);
        setFrameVisible(Frame3, true);
        setFrameVisible(Frame4, false);
        break;
    case 4:
        InstallSequence();
        break;
    }
    settleFocus(focused);
}

void Form1::Command2_Click()
{
    QWidget *const focused = focusWidget();
    switch (m_vars.PageState) {
    case 2:
        Command1->setEnabled(true);
        Command2->setEnabled(false);
        Command1->setText(tr("Next >>"));
        setFrameVisible(Frame1, false);
        setFrameVisible(Frame2, true);
        setFrameVisible(Frame3, false);
        setFrameVisible(Frame4, false);
        m_vars.PageState = 1;
        break;
    case 3:
        Command1->setEnabled(false);
        Command2->setText(tr("<< Back"));
        Command1->setText(tr("Next >>"));
        setFrameVisible(Frame2, false);
        setFrameVisible(Frame1, true);
        setFrameVisible(Frame3, false);
        setFrameVisible(Frame4, false);
        clearOption(Option1);
        selectOption(Option2);
        m_vars.PageState = 2;
        break;
    case 4:
        Command1->setEnabled(false);
        Command2->setText(tr("<< Back"));
        Command1->setText(tr("Next >>"));
        setFrameVisible(Frame2, false);
        setFrameVisible(Frame1, false);
        setFrameVisible(Frame3, false);
        setFrameVisible(Frame4, true);
        clearOption(Option3);
        clearOption(Option4);
        m_vars.PageState = 3;
        break;
    default:
        break;
    }
    settleFocus(focused);
}

// A transition disables or hides the button it was pressed with more often
// than not, and Qt then hands the focus to the next control in the chain:
// Back, or Cancel, where the next Enter would do harm. So when the focus has
// moved, or sits where it can no longer be used, it goes somewhere safe.
void Form1::settleFocus(QWidget *focusBefore)
{
    if (m_unloaded)
        return;
    QWidget *const focused = focusWidget();
    if (focused && focused == focusBefore && focused->isEnabled() && focused->isVisible())
        return;
    if (Command1->isEnabled())
        Command1->setFocus();
    else if (m_vars.PageState == 2)
        Option1->setFocus();
    else if (m_vars.PageState == 3)
        Option4->setFocus(); // first of the two in the tab order
}

void Form1::Option1_Click()
{
    Command1->setEnabled(Option1->isChecked());
}

void Form1::Option2_Click()
{
    // Both licence choices follow one rule, and it looks at "I agree".
    Command1->setEnabled(Option1->isChecked());
}

void Form1::Option3_Click()
{
    if (Option3->isChecked())
        Command1->setEnabled(true);
}

void Form1::Option4_Click()
{
    if (Option4->isChecked())
        Command1->setEnabled(true);
}
