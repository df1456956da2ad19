// The window's controls: containers, places, texts, fonts, front-to-back and
// tab order, as the layout lays them down before the load step runs.
#include "assets/assets.h"
#include "platform/time/ticksource.h"
#include "wizard/fonts.h"
#include "wizard/form1.h"
#include "wizard/licensebox.h"
#include "wizard/optionbutton.h"
#include "wizard/trackgeometry.h"
#include "wizard/twips.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <chrono>

using namespace std::chrono_literals;

namespace {

const QColor LightGrey(192, 192, 192);

template<typename Widget>
Widget *place(Widget *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *l = place(new QLabel(parent), name, geometry);
    // Plain in every language: a translation that looks like markup is not read as such.
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption = {})
{
    auto *f = place(new QGroupBox(caption, parent), name, twipsRect(120, 240, 7095, 4575));
    // Opaque, so that a page in front hides whatever lies beneath it.
    f->setAutoFillBackground(true);
    return f;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int left)
{
    auto *b = place(new QPushButton(caption, parent), name, twipsRect(left, 5040, 1095, 375));
    // Enter presses the focused button and no other: there is no default button.
    b->setAutoDefault(true);
    return b;
}

} // namespace

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Halvory Setup"));
    setWindowIcon(Assets::windowIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(dialogFont());
    setFixedSize(pixels(7320), pixels(5595));

    // Created back to front: a later sibling is drawn over an earlier one.
    Frame1 = frame(this, "Frame1", QStringLiteral("Halvory License Agreement"));

    Text1 = place(new LicenseBox(this), "Text1", twipsRect(360, 600, 6615, 3495));
    Text1->setPlainText(Assets::licenseText()); // before the guard is connected
    Text1->setAccessibleName(tr("License agreement"));

    Option1 = place(new OptionButton(tr("I agree"), this), "Option1", twipsRect(600, 4200, 1215, 495));
    Option2 = place(new OptionButton(tr("I don not agree"), this), "Option2",
                    twipsRect(4920, 4200, 1815, 495));
    Option2->setChecked(true);

    createWelcomePage();
    createReadyPage();
    createPlatformPage();

    Command2 = button(this, "Command2", tr("<<  Back"), 3480);
    Command2->setEnabled(false);
    Command1 = button(this, "Command1", tr("Next  >>"), 4800);
    Command3 = button(this, "Command3", tr("Cancel"), 6120);

    Timer1 = m_services.ticks.createTimer(200ms, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    TimerOUT = m_services.ticks.createTimer(1000ms, this);
    TimerOUT->setObjectName(QStringLiteral("TimerOUT"));

    setUpTabOrder();
    Command1->setFocus();
}

void Form1::createWelcomePage()
{
    Frame2 = frame(this, "Frame2");
    Frame2->setAccessibleName(tr("Welcome"));

    Picture1 = place(new QLabel(Frame2), "Picture1", twipsRect(240, 840, 3015, 3135));
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    // Drawn unscaled from the top-left corner; the box cuts off the rest.
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(QPixmap(Assets::WelcomePicture));
    Picture1->setAccessibleName(tr("Torvex on a Pocket PC"));

    Label1 = label(Frame2, "Label1",
                   tr("Setup is preparing to install Torvex on your Pocket PC. To continue press Next."),
                   twipsRect(3480, 1080, 2895, 975));
    // The welcome page keeps a spare label with nothing to say; hidden, so
    // that screen readers do not announce an empty text.
    Label3 = label(Frame2, "Label3", QString(), twipsRect(3480, 2160, 2895, 975));
    Label3->hide();
}

void Form1::createPlatformPage()
{
    Frame4 = frame(this, "Frame4");
    Frame4->setAccessibleName(tr("Pocket PC version"));
    Frame4->hide();

    Label7 = label(Frame4, "Label7", tr("To install the program choose your Microsoft Pocket PC version."),
                   twipsRect(480, 360, 5895, 495));
    Label8 = label(Frame4, "Label8",
                   tr("You can see the version by choosing from the Start Menu > Settings > System > About > Version."),
                   twipsRect(480, 840, 4575, 495));
    Label12 = label(Frame4, "Label12", tr(" If it is 4.0.0 or higher choose  from the option below: "),
                    twipsRect(480, 1560, 4455, 255));
    Label9 = label(Frame4, "Label9", tr("\"Microsoft Pocket PC Version 4.0.0 or higher\""),
                   twipsRect(480, 1920, 3375, 255));
    Label10 = label(Frame4, "Label10", tr("if it is an earlier version choose:"),
                    twipsRect(480, 2280, 3735, 255));
    Label11 = label(Frame4, "Label11", tr("\"Earlier Microsoft Pocket PC Version\""),
                    twipsRect(480, 2640, 2895, 255));
    Option3 = place(new OptionButton(tr("Microsoft Pocket PC Version 4.0.0 or higher."), Frame4),
                    "Option3", twipsRect(480, 3240, 2415, 735));
    Option4 = place(new OptionButton(tr("Earlier Microsoft Pocket PC Version."), Frame4), "Option4",
                    twipsRect(3840, 3360, 2535, 495));
}

void Form1::createReadyPage()
{
    Frame3 = frame(this, "Frame3");
    Frame3->setAccessibleName(tr("Ready to install"));
    Frame3->hide();

    Label14 = label(Frame3, "Label14",
                    tr("Do not start other operations while running setup. This may cause invalid installation."),
                    twipsRect(720, 240, 6135, 615));
    Label14->setFont(largeFont());
    Label4 = label(Frame3, "Label4", tr("Click Install to begin installation."), twipsRect(720, 960, 3135, 255));
    Label5 = label(Frame3, "Label5",
                   tr("If you want to change or review any of the installation settings press Back."),
                   twipsRect(720, 1320, 5295, 255));
    Label6 = label(Frame3, "Label6", tr("To exit the installation press Cancel."), twipsRect(720, 1680, 5175, 255));
    Label2 = label(Frame3, "Label2", QStringLiteral("Setup is installing Halvory on your Pocket PC"),
                   twipsRect(720, 2040, 5295, 375));
    Label2->setFont(largeFont());
    Label13 = label(Frame3, "Label13", tr("Setup is now inspecting your current Settings. Please wait."),
                    twipsRect(720, 2520, 4575, 375));
    Label13->hide();

    auto *track = new QFrame(Frame3);
    track->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    track->setLineWidth(2);
    track->setAutoFillBackground(true);
    QPalette trackColours = track->palette();
    trackColours.setColor(QPalette::Window, LightGrey);
    track->setPalette(trackColours);
    track->setAccessibleName(tr("Installation progress"));
    Picture2 = place(track, "Picture2", twipsRect(Track::Left, Track::Top, Track::Width, Track::Height));

    // Created after the track so that the block slides over it.
    Picture3 = place(new QLabel(Frame3), "Picture3",
                     twipsRect(Track::Left, Track::Top, Track::BlockWidth, Track::BlockHeight));
    Picture3->setAutoFillBackground(true);
    Picture3->setPalette(trackColours);
    Picture3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture3->setPixmap(QPixmap(Assets::ProgressBlock));
    Picture3->setAccessibleName(tr("Installation progress"));
    Picture3->hide();
    m_picture3Left = Track::Left;
}

void Form1::setUpTabOrder()
{
    // Frames and labels take no focus; of the layout's tab order these remain.
    const QList<QWidget *> order{Command1, Command2, Text1, Option1, Option2, Command3, Option4, Option3};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
