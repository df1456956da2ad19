// The real message boxes: titles, buttons, default, icon, and what counts as Yes.
#include "platform/dialogs/messageboxes.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
};

// The box, with what its label holds and how it reads it.
SeenBox look(QMessageBox *box)
{
    SeenBox seen{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                 box->standardButton(box->defaultButton()), Qt::AutoText, QString()};
    if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        seen.format = label->textFormat();
        seen.shown = label->text();
    }
    return seen;
}

} // namespace

class tst_MessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void question_data();
    void question();
    void information_data();
    void information();
};

void tst_MessageBoxes::question_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("text");
    const QString leave = QStringLiteral("Leave?");
    QTest::newRow("Enter takes the default, Yes") << int(Qt::Key_Return) << true << leave;
    QTest::newRow("Esc is No") << int(Qt::Key_Escape) << false << leave;
    QTest::newRow("N is No") << int(Qt::Key_N) << false << leave;
    QTest::newRow("markup shows as its characters")
        << int(Qt::Key_Escape) << false << QStringLiteral("<b>Yes</b> means <i>leave</i>?");
}

void tst_MessageBoxes::question()
{
    QFETCH(int, key);
    QFETCH(bool, yes);
    QFETCH(QString, text);

    SeenBox seen;
    QTimer::singleShot(0, [&seen, key] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = look(box);
        QTest::keyClick(box, Qt::Key(key));
    });
    QtMessageBoxes boxes;
    QCOMPARE(boxes.question(nullptr, text), yes);
    QCOMPARE(seen.title, QStringLiteral("Question"));
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.shown, text);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, QMessageBox::Yes);
}

void tst_MessageBoxes::information_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringLiteral("Done.");
    // A kit folder that looks like markup, first thing in the box, where Qt
    // guesses the format, and with the message's own line breaks.
    QTest::newRow("markup in a value")
        << QStringLiteral("<h1><font color=red>Setup has successfully installed Torvex\nhas no INI files.\n\nClick OK.");
}

void tst_MessageBoxes::information()
{
    QFETCH(QString, text);
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = look(box);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QtMessageBoxes boxes;
    boxes.information(nullptr, text);
    QCOMPARE(seen.title, QStringLiteral("Information"));
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.shown, text);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(tst_MessageBoxes)
#include "tst_messageboxes.moc"
