// The frame and what it shows: user messages and the exit question,
// centring, the About dialog and its licence.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "about/clickableLabel.h"
#include "about/zr6200fp_About.h"
#include "app/zr6200fp_app.h"
#include "app/zr6200fp_messages.h"
#include "testsupport.h"

using zrtest::row;

namespace {

struct Box
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the next box with button (none: closes it), noting what it showed.
void answerNoting(zrtest::ModalAnswerer &answers, Box *seen, const QString &button)
{
    const auto note = [seen](QWidget *w) {
        const auto *box = qobject_cast<QMessageBox *>(w);
        *seen = {box->windowTitle(), box->text(), box->icon()};
    };
    if (button.isEmpty())
        answers.act([note](QWidget *w) {
            note(w);
            w->close();
        });
    else
        answers.click(button, note);
}

using Message = void (*)(const QString &);

} // namespace

Q_DECLARE_METATYPE(Message)

ZR_SCENARIO(errorYes)
{
    zrtest::ModalAnswerer answers;
    answers.click(QStringLiteral("Yes"));
    errorMessage(QStringLiteral("broken"));
    return 3; // Yes must have ended the process with 0
}

class tst_Frame : public zrtest::Case
{
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
    void errorYesExits();
    void exitQuestion_data();
    void exitQuestion();
    void centred();
    void aboutPaging_data();
    void aboutPaging();
    void aboutLicence();
};

void tst_Frame::messages_data()
{
    QTest::addColumn<Message>("show");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("answer"); // empty: the box closed
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QMessageBox::Icon>("icon");
    const char *const question = "t\nDo you want to exit?";
    row("info", &infoMessage, "", "OK", "Tervix  SFP Info message", "t", QMessageBox::Information);
    row("warning, label", &warningMessage, "7480", "OK", "Tervix 7480 SFP Warning message", "t", QMessageBox::Warning);
    row("error, No goes on", &errorMessage, "", "No", "Tervix  SFP Error message", question, QMessageBox::Critical);
    row("error closed goes on", &errorMessage, "", "", "Tervix  SFP Error message", question, QMessageBox::Critical);
}

void tst_Frame::messages()
{
    QFETCH(Message, show);
    QFETCH(QString, label);
    QFETCH(QString, answer);
    Box seen;
    answerNoting(answers, &seen, answer);
    modelLabel = label;
    show(QStringLiteral("t"));
    modelLabel.clear();
    QTEST(seen.title, "title");
    QTEST(seen.text, "text");
    QTEST(seen.icon, "icon");
}

void tst_Frame::errorYesExits()
{
    const QString problem = zrtest::expectExit("errorYes", 0, QString());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void tst_Frame::exitQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("byCloseControl");
    QTest::addColumn<bool>("closed");
    row("Close, Yes", "Yes", false, true);
    row("Close, No", "No", false, false);
    row("close control, Yes", "Yes", true, true);
    row("close control, box closed", "", true, false);
}

void tst_Frame::exitQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, byCloseControl);
    zr6200fp_app frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    Box seen;
    answerNoting(answers, &seen, answer);
    if (byCloseControl)
        frame.close();
    else
        QTest::mouseClick(frame.findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
    QCOMPARE(seen.title + QLatin1Char('|') + seen.text, QStringLiteral("Tervix  SFP|Do you really want to exit?"));
    QTEST(!frame.isVisible(), "closed");
}

void tst_Frame::centred()
{
    // The offscreen screen's available area is 800 x 800.
    QWidget w;
    w.resize(300, 201);
    centerWidget(&w);
    QCOMPARE(w.pos(), QPoint(250, 299));
}

void tst_Frame::aboutPaging_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("shown"); // model, revision, serial number, driver revision
    QTest::addColumn<bool>("paging");       // the buttons are shown
    QTest::addColumn<bool>("previous");     // enabled
    QTest::addColumn<bool>("next");
    const QString next = QStringLiteral("Next >"), previous = QStringLiteral("< Previous");
    row("no card", 0, QStringList(), QStringList{"(none)", "(none)", "(none)", ""}, false, false, true);
    row("one card", 1, QStringList(), QStringList{"M1", "R1", "S1", ""}, false, false, true);
    row("two cards", 2, QStringList(), QStringList{"M1", "R1", "S1", ""}, true, false, true);
    row("second page", 3, QStringList{next}, QStringList{"M2", "R2", "S2", "own"}, true, true, true);
    row("last page, no further", 3, QStringList{next, next, next}, QStringList{"M3", "R3", "S3", "own"}, true, true,
        false);
    row("back one page", 3, QStringList{next, next, previous}, QStringList{"M2", "R2", "S2", "own"}, true, true, true);
    row("back to the first", 3, QStringList{next, next, previous, previous}, QStringList{"M1", "R1", "S1", "own"}, true,
        false, true);
    row("none before the first", 3, QStringList{previous}, QStringList{"M1", "R1", "S1", ""}, true, false, true);
}

void tst_Frame::aboutPaging()
{
    QFETCH(int, cards);
    QFETCH(QStringList, clicks);
    zr6200fp_About about("1.0", "", "7480", "(c)", nullptr, "lib");
    about.show();
    // The second card brings a driver revision of its own, the others none:
    // the label keeps the last one shown.
    for (int i = 1; i <= cards; ++i)
        about.addHardwareInfo(QStringLiteral("S%1").arg(i), QStringLiteral("R%1").arg(i), QStringLiteral("M%1").arg(i),
                              i == 2 ? QStringLiteral("own") : QString());
    for (const QString &click : std::as_const(clicks))
        QTest::mouseClick(zrtest::button(&about, click), Qt::LeftButton);
    const QString software = QStringLiteral("Software Revisions");
    QTEST(zrtest::formFields(&about, QStringLiteral("Hardware Information"),
                             {"Device Model:", "Revision:", "Serial Number:"}) +
              zrtest::formFields(&about, software, {"Instrument Driver:"}),
          "shown");
    QTEST(zrtest::button(&about, QStringLiteral("< Previous"))->isVisible(), "paging");
    QTEST(zrtest::button(&about, QStringLiteral("Next >"))->isVisible(), "paging");
    QTEST(zrtest::button(&about, QStringLiteral("< Previous"))->isEnabled(), "previous");
    QTEST(zrtest::button(&about, QStringLiteral("Next >"))->isEnabled(), "next");
    QCOMPARE(zrtest::formFields(&about, software, {"Tervix Common Library:"}), QStringList{"lib"});
}

void tst_Frame::aboutLicence()
{
    zr6200fp_About about("1.0", "drv", "7480", "(c)", nullptr, nullptr);
    QCOMPARE(zrtest::formFields(&about, QStringLiteral("Software Revisions"), {"Tervix Common Library:"}),
             QStringList{"(none)"});
    about.show();
    QString licence;
    answers.act([&licence](QWidget *w) {
        licence = w->windowTitle() + QLatin1Char('|') + w->findChild<QTextEdit *>()->toPlainText().left(120);
        w->findChild<QPushButton *>()->click();
    });
    QTest::mouseClick(about.findChild<clickableLabel *>(), Qt::LeftButton);
    QVERIFY(licence.startsWith(QLatin1String("Qt LGPL License|This program uses the Qt toolkit")));
    QVERIFY2(licence.contains(QLatin1String("Lesser General Public License version 3")), qPrintable(licence));
    QVERIFY(about.isVisible());
    QTest::mouseClick(zrtest::button(&about, QStringLiteral("OK")), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

ZR_TEST_MAIN(tst_Frame)
#include "tst_frame.moc"
