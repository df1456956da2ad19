// The real message boxes: titles, buttons, default, icon, and what counts as Yes.
#include "platform/messageboxes.h"

#include <QApplication>
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
};

} // namespace

class tst_MessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void question_data();
    void question();
    void information();
};

void tst_MessageBoxes::question_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Enter takes the default, Yes") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc is No") << int(Qt::Key_Escape) << false;
    QTest::newRow("N is No") << int(Qt::Key_N) << false;
}

void tst_MessageBoxes::question()
{
    QFETCH(int, key);
    QFETCH(bool, yes);

    SeenBox seen;
    QTimer::singleShot(0, [&seen, key] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->standardButton(box->defaultButton())};
        QTest::keyClick(box, Qt::Key(key));
    });
    QtMessageBoxes boxes;
    QCOMPARE(boxes.question(nullptr, QStringLiteral("Leave?")), yes);
    QCOMPARE(seen.title, QStringLiteral("Question"));
    QCOMPARE(seen.text, QStringLiteral("Leave?"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, QMessageBox::Yes);
}

void tst_MessageBoxes::information()
{
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), QMessageBox::NoButton};
        QTest::keyClick(box, Qt::Key_Return);
    });
    QtMessageBoxes boxes;
    boxes.information(nullptr, QStringLiteral("Done."));
    QCOMPARE(seen.title, QStringLiteral("Information"));
    QCOMPARE(seen.text, QStringLiteral("Done."));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(tst_MessageBoxes)
#include "tst_messageboxes.moc"
