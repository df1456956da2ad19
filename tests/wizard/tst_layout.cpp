// The window as laid out: places, texts, fonts, stacking and tab order.
#include "app/language.h"
#include "doubles/wizardharness.h"
#include "install/installrun.h"
#include "platform/dialogs/messageboxes.h"
#include "platform/text/messagetext.h"
#include "wizard/fonts.h"
#include "wizard/form1.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

// A catalogue that notes the texts it was asked for and had no translation
// of, and the English of those it had.
class WatchingTranslator final : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *disambiguation, int n) const override
    {
        const QString text = QTranslator::translate(context, source, disambiguation, n);
        if (text.isEmpty())
            untranslated.insert(QString::fromUtf8(context), QString::fromUtf8(source));
        else
            english.insert(text, QString::fromUtf8(source));
        return text;
    }
    mutable QMultiHash<QString, QString> untranslated; // context -> source
    mutable QHash<QString, QString> english;
};

// How a control's text fits its box: empty when it does, and on one line
// where its English takes one.
QString misfit(QWidget *w, const WatchingTranslator &catalogue)
{
    QString text;
    QSize box = w->contentsRect().size();
    bool wraps = true;
    if (auto *label = qobject_cast<QLabel *>(w); label && label->pixmap().isNull()) {
        text = label->text();
    } else if (auto *option = qobject_cast<QRadioButton *>(w)) {
        QStyleOptionButton style;
        style.initFrom(option);
        text = option->text();
        box.setWidth(w->width() - w->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, w).left());
    } else if (auto *button = qobject_cast<QPushButton *>(w)) {
        text = button->text().remove(QLatin1Char('&'));
        box.setWidth(w->width() - 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin));
        wraps = false;
    } else if (auto *frame = qobject_cast<QGroupBox *>(w)) {
        text = frame->title();
        box.setWidth(w->width() - 16);
        wraps = false;
    }
    const QFontMetrics metrics = w->fontMetrics();
    const auto needs = [&](const QString &shown) {
        return metrics.boundingRect(QRect(0, 0, box.width(), 10000),
                                    Qt::AlignLeft | Qt::AlignTop | (wraps ? Qt::TextWordWrap : 0), shown);
    };
    const QRect needed = needs(text);
    const int english = needs(catalogue.english.value(text, text)).height();
    const bool oneLine = english <= metrics.lineSpacing();
    if (text.isEmpty()
        || (needed.width() <= box.width() && needed.height() <= box.height() && (!oneLine || needed.height() <= english)))
        return {};
    return QStringLiteral("%1 '%2' needs %3x%4 (English %5 high) in %6x%7")
        .arg(w->objectName(), text).arg(needed.width()).arg(needed.height()).arg(english)
        .arg(box.width()).arg(box.height());
}

// The texts of every context menu in the window and in its boxes, each
// opened as a right click opens it (some wait in a loop of their own).
QStringList contextMenuTexts()
{
    QStringList texts;
    const auto open = [&](QWidget *root) {
        for (QWidget *w : root->findChildren<QWidget *>()) {
            QTimer::singleShot(0, w, [&] {
                if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                    for (QAction *action : menu->actions())
                        texts << action->text();
                    menu->close();
                }
            });
            QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
            QCoreApplication::sendEvent(w, &click);
            QCoreApplication::processEvents();
        }
    };
    for (int page = 1; page <= 4; ++page) {
        WizardHarness wizard;
        wizard.goToPage(page); // a page's controls are enabled only on it
        open(wizard.form.get());
    }
    // One at a time: an open box keeps the clicks from any other window.
    for (const auto &box : {createQuestionBox(nullptr, QStringLiteral("?")), createInformationBox(nullptr, QStringLiteral("!"))}) {
        box->show();
        open(box.get());
        box->hide();
    }
    return texts;
}

} // namespace

class tst_Layout : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void controls_data();
    void controls();
    void textsFitTheirBoxes_data();
    void textsFitTheirBoxes();
    void passiveLastWordsArePlain();
    void frontToBackOrder();
    void tabOrder();
    void largeFont();
    void accessibleNames();
    void languages_data();
    void languages();
};

void tst_Layout::window()
{
    WizardHarness wizard;
    QCOMPARE(wizard.form->size(), QSize(488, 373));
    QCOMPARE(wizard.form->minimumSize(), wizard.form->maximumSize());
    const Qt::WindowFlags flags = wizard.form->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!wizard.form->windowIcon().isNull());
    // No default button: only the button with the focus answers Enter.
    for (const char *name : {"Command2", "Command3"})
        QVERIFY2(!wizard.control<QPushButton>(name)->isDefault(), name);
}

void tst_Layout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");

    auto row = [](const char *name, const char *container, QRect twips, const QString &text = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container) << twips << text;
    };
    for (const char *frame : {"Frame1", "Frame2", "Frame3", "Frame4"})
        row(frame, "Form1", {120, 240, 7095, 4575});
    row("Text1", "Form1", {360, 600, 6615, 3495});
    row("Option1", "Form1", {600, 4200, 1215, 495}, "I agree");
    row("Option2", "Form1", {4920, 4200, 1815, 495}, "I don not agree");
    row("Command2", "Form1", {3480, 5040, 1095, 375}, "<<  Back");
    row("Command1", "Form1", {4800, 5040, 1095, 375}, "Next  >>");
    row("Command3", "Form1", {6120, 5040, 1095, 375}, "Cancel");
    row("Picture1", "Frame2", {240, 840, 3015, 3135});
    row("Label1", "Frame2", {3480, 1080, 2895, 975},
        "Setup is preparing to install Torvex on your Pocket PC. To continue press Next.");
    row("Label7", "Frame4", {480, 360, 5895, 495}, "To install the program choose your Microsoft Pocket PC version.");
    row("Label8", "Frame4", {480, 840, 4575, 495},
        "You can see the version by choosing from the Start Menu > Settings > System > About > Version.");
    row("Label12", "Frame4", {480, 1560, 4455, 255}, " If it is 4.0.0 or higher choose  from the option below: ");
    row("Label9", "Frame4", {480, 1920, 3375, 255}, "\"Microsoft Pocket PC Version 4.0.0 or higher\"");
    row("Label10", "Frame4", {480, 2280, 3735, 255}, "if it is an earlier version choose:");
    row("Label11", "Frame4", {480, 2640, 2895, 255}, "\"Earlier Microsoft Pocket PC Version\"");
    row("Option3", "Frame4", {480, 3240, 2415, 735}, "Microsoft Pocket PC Version 4.0.0 or higher.");
    row("Option4", "Frame4", {3840, 3360, 2535, 495}, "Earlier Microsoft Pocket PC Version.");
    row("Label14", "Frame3", {720, 240, 6135, 615},
        "Do not start other operations while running setup. This may cause invalid installation.");
    row("Label4", "Frame3", {720, 960, 3135, 255}, "Click Install to begin installation.");
    row("Label5", "Frame3", {720, 1320, 5295, 255},
        "If you want to change or review any of the installation settings press Back.");
    row("Label6", "Frame3", {720, 1680, 5175, 255}, "To exit the installation press Cancel.");
    row("Label2", "Frame3", {720, 2040, 5295, 375}, "Setup is installing Torvex on your Pocket PC");
    row("Label13", "Frame3", {720, 2520, 4575, 375}, "Setup is now inspecting your current Settings. Please wait.");
    row("Picture2", "Frame3", {720, 3480, 5655, 375});
    row("Picture3", "Frame3", {720, 3480, 480, 360});
}

void tst_Layout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    QFETCH(QString, text);

    WizardHarness wizard;
    QWidget *w = wizard.control(name.toLatin1().constData());
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    if (auto *label = qobject_cast<QLabel *>(w)) {
        QCOMPARE(label->text(), text);
        // Whatever a translation holds, a label shows its characters.
        if (label->pixmap().isNull())
            QCOMPARE(label->textFormat(), Qt::PlainText);
    } else if (auto *button = qobject_cast<QAbstractButton *>(w))
        QCOMPARE(button->text(), text);
}

void tst_Layout::passiveLastWordsArePlain()
{
    WizardHarness wizard;
    FakeServices &f = wizard.fakes;
    InstallRun run(InstallServices{f.remoteApi, f.registry, f.processes, f.ticks});
    wizard.form->showPassive(run, true);
    const QString folder = QStringLiteral("<h1>Setup has successfully installed Torvex ") + QString(300, u'x');
    wizard.form->endPassive(12, QStringLiteral("The kit folder %1 is wrong.").arg(quoteForMessage(folder)));
    auto *words = wizard.control<QLabel>("Label15");
    QCOMPARE(words->textFormat(), Qt::PlainText);
    // Elided as a box would show it, none of the value's marks left.
    QVERIFY(words->text().startsWith(QStringLiteral("The kit folder <h1>Setup has")));
    QVERIFY(words->text().contains(QChar(0x2026)));
    QVERIFY(!words->text().contains(QChar(0xFDD0)));
}

void tst_Layout::textsFitTheirBoxes_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"Label1", "Label7", "Label8", "Label12", "Label9", "Label10", "Label11", "Label14",
                             "Label4", "Label5", "Label6", "Label2", "Label13"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_Layout::textsFitTheirBoxes()
{
    QFETCH(QString, name);

    WizardHarness wizard;
    auto *label = wizard.control<QLabel>(name.toLatin1().constData());
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000),
                                                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                          label->text());
    QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
             qPrintable(QStringLiteral("%1 needs %2x%3 in %4x%5")
                            .arg(name)
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(label->width())
                            .arg(label->height())));
}

void tst_Layout::frontToBackOrder()
{
    WizardHarness wizard;
    // Later siblings are drawn in front of earlier ones.
    QStringList backToFront;
    for (QObject *child : wizard.form->children())
        if (child->isWidgetType() && !qobject_cast<QPushButton *>(child))
            backToFront << child->objectName();
    QCOMPARE(backToFront, (QStringList{"Frame1", "Text1", "Option1", "Option2", "Frame2", "Frame3", "Frame4"}));

    const QObjectList inReady = wizard.control("Frame3")->children();
    QVERIFY(inReady.indexOf(wizard.control("Picture3")) > inReady.indexOf(wizard.control("Picture2")));
}

void tst_Layout::tabOrder()
{
    WizardHarness wizard;
    QStringList chain;
    QWidget *w = wizard.control("Command1");
    do {
        chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != wizard.control("Command1") && chain.size() < 100);
    chain.removeIf([](const QString &name) { return name.isEmpty() || name.startsWith(QLatin1String("qt_")); });
    const QStringList focusable{"Command1", "Command2", "Text1", "Option1", "Option2", "Command3", "Option4", "Option3"};
    QStringList inOrder;
    for (const QString &name : chain)
        if (focusable.contains(name))
            inOrder << name;
    QCOMPARE(inOrder, focusable);
}

void tst_Layout::largeFont()
{
    WizardHarness wizard;
    QCOMPARE(wizard.control("Label14")->font(), ::largeFont());
    QCOMPARE(wizard.control("Label2")->font(), ::largeFont());
    for (const char *name : {"Label1", "Label4", "Label13", "Option3", "Text1", "Command1"})
        QCOMPARE(wizard.control(name)->font(), dialogFont());
    QVERIFY(::largeFont().pixelSize() > dialogFont().pixelSize());
}

void tst_Layout::accessibleNames()
{
    WizardHarness wizard;
    const QRegularExpression designerName(QStringLiteral("^(Frame|Label|Option|Command|Picture|Text)\\d+$"));
    int checked = 0;
    for (QWidget *w : wizard.form->findChildren<QWidget *>()) {
        if (!designerName.match(w->objectName()).hasMatch() || w->objectName() == QLatin1String("Label3"))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        QVERIFY(a);
        const QString name = a->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        // What a screen reader says is what the control shows.
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(w); label && label->pixmap().isNull())
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            shown = button->text();
        else if (auto *box = qobject_cast<QGroupBox *>(w))
            shown = box->title();
        if (!shown.isEmpty())
            QCOMPARE(name, shown);
        ++checked;
    }
    QCOMPARE(checked, 28); // every designer-named control but the empty Label3
}

void tst_Layout::languages_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : windowLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void tst_Layout::languages()
{
    QFETCH(QString, language);
    const bool english = language == QLatin1String("en");
    // What the program installs: for English its plural forms only.
    QVERIFY(installWindowLanguage(language));
    const QList<QTranslator *> installed = qApp->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(installed.size(), 1);
    QCOMPARE(QCoreApplication::translate("Form1", "Cancel") == QLatin1String("Cancel"), english);
    qDeleteAll(installed);
    const QStringList englishMenus = contextMenuTexts();
    QVERIFY(englishMenus.contains(QLatin1String("Scroll here")) && englishMenus.contains(QLatin1String("Right edge")));

    WatchingTranslator catalogue;
    QVERIFY(english || catalogue.load(QStringLiteral(":/i18n/torvexsetup_%1.qm").arg(language)));
    QCoreApplication::installTranslator(&catalogue);
    QStringList misfits;
    const auto look = [&](QWidget *root) {
        for (QWidget *w : root->findChildren<QWidget *>())
            if (w->isVisibleTo(root) && !misfit(w, catalogue).isEmpty())
                misfits << misfit(w, catalogue);
    };
    for (int page = 1; page <= 4; ++page) {
        WizardHarness wizard;
        wizard.goToPage(page);
        wizard.control("Label13")->setVisible(page == 4); // as the install shows it
        look(wizard.form.get());
    }

    // Every message box the window can show on the way.
    WizardHarness wizard;
    wizard.click("Command3"); // the question, answered No
    wizard.goToPage(4);
    wizard.fakes.remoteApi.connected = false;
    wizard.click("Command1"); // no handheld
    wizard.fakes.remoteApi.connected = true;
    wizard.click("Command1"); // no application manager
    wizard.fakes.registry.localMachine.insert(
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE"),
        QStringLiteral("/usr/lib/sync/CEAPPMGR.EXE"));
    wizard.fakes.processes.directory.clear();
    wizard.click("Command1"); // no kit folder
    wizard.fakes.processes.directory = QStringLiteral("/opt/torvex");
    wizard.fakes.processes.failWith = QStringLiteral("No such file or directory");
    wizard.click("Command1"); // a run that cannot start
    wizard.fakes.processes.failWith.clear();
    wizard.click("Command1"); // success
    wizard.fakes.messages.information(nullptr, Form1::alreadyRunningMessage(
                                                     QStringLiteral("The lock /run/lock/TorvexSetup.lock is held by "
                                                                    "process 4242 (TorvexSetup).")));
    QCOMPARE(wizard.fakes.messages.shown.size(), 7);
    for (const QString &shown : std::as_const(wizard.fakes.messages.shown)) {
        const QString text = shown.section(QStringLiteral(": "), 1);
        const auto box = shown.startsWith(QLatin1String("Question")) ? createQuestionBox(nullptr, text)
                                                                     : createInformationBox(nullptr, text);
        box->show();
        look(box.get());
        for (QAbstractButton *button : box->buttons())
            QVERIFY2(english || !button->shortcut().isEmpty() || box->buttons().size() == 1, qPrintable(button->text()));
    }
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(QLatin1Char('\n'))));
    if (english)
        return;

    // Qt's own texts in every context menu: none left in English.
    const QStringList menus = contextMenuTexts();
    QCOMPARE(menus.size(), englishMenus.size());
    for (qsizetype i = 0; i < menus.size(); ++i) // separators have no text
        QVERIFY2(menus.at(i).isEmpty() || menus.at(i) != englishMenus.at(i), qPrintable(menus.at(i)));

    // Every text of the catalogue's source is translated in the compiled
    // catalogue, and every text of its contexts that the window asked for too.
    QFile source(QStringLiteral(":/ts/torvexsetup_%1.ts").arg(language));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&source);
    QString context, text;
    QStringList untranslated;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
            untranslated += catalogue.untranslated.values(context);
        } else if (xml.name() == u"source") {
            text = xml.readElementText();
        } else if (xml.name() == u"translation" && xml.attributes().value(QLatin1String("type")) != u"obsolete"
                   && xml.attributes().value(QLatin1String("type")) != u"vanished"
                   && catalogue.translate(context.toUtf8(), text.toUtf8(), nullptr, -1).isEmpty()) {
            untranslated << text;
        }
    }
    for (const ToolkitText &qt : toolkitTexts())
        if (catalogue.translate(qt.context, qt.text, nullptr, -1).isEmpty())
            untranslated << QString::fromUtf8(qt.text);
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
