// The frame and what it shows: user messages and the exit question, the
// acquisition buttons, the status lamp, the About dialog and its licence.
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
#include "led/zr6200fp_led.h"
#include "testsupport.h"

namespace {

struct Box
{
    QString title;
    QString text;
    int icon = 0;
};

// Answers the next box with button, noting what it showed.
void answerNoting(zrtest::ModalAnswerer &answers, Box *seen, const QString &button)
{
    answers.act([seen, button](QWidget *w) {
        const auto *box = qobject_cast<QMessageBox *>(w);
        *seen = {box->windowTitle(), box->text(), int(box->icon())};
        if (button.isEmpty()) {
            w->close();
            return;
        }
        const auto buttons = box->buttons();
        for (QAbstractButton *b : buttons) {
            if (b->text().remove(QLatin1Char('&')) == button)
                b->click();
        }
    });
}

QPushButton *aboutButton(const zr6200fp_About &about, const QString &text)
{
    const auto buttons = about.findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

} // namespace

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
    void acquisition_data();
    void acquisition();
    void lamp_data();
    void lamp();
    void centred();
    void aboutPaging_data();
    void aboutPaging();
    void aboutLicence();
};

void tst_Frame::messages_data()
{
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    zrtest::row("info", "info", "", "OK", "Tervix  SFP Info message", "t", int(QMessageBox::Information));
    zrtest::row("warning", "warning", "", "OK", "Tervix  SFP Warning message", "t", int(QMessageBox::Warning));
    zrtest::row("error, No goes on", "error", "", "No", "Tervix  SFP Error message", "t\nDo you want to exit?",
                int(QMessageBox::Critical));
    zrtest::row("error closed goes on", "error", "", "", "Tervix  SFP Error message", "t\nDo you want to exit?",
                int(QMessageBox::Critical));
    zrtest::row("model label", "info", "7480", "OK", "Tervix 7480 SFP Info message", "t",
                int(QMessageBox::Information));
}

void tst_Frame::messages()
{
    QFETCH(QString, grade);
    QFETCH(QString, label);
    QFETCH(QString, answer);
    Box seen;
    answerNoting(answers, &seen, answer);
    modelLabel = label;
    const auto show = grade == QLatin1String("info")      ? infoMessage
                      : grade == QLatin1String("warning") ? warningMessage
                                                          : errorMessage;
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
    zrtest::row("Close, Yes", "Yes", false, true);
    zrtest::row("Close, No", "No", false, false);
    zrtest::row("close control, Yes", "Yes", true, true);
    zrtest::row("close control, box closed", "", true, false);
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
    frame.hide();
}

void tst_Frame::acquisition_data()
{
    QTest::addColumn<QString>("clicks"); // s: start, c: continuous, b: userBreak(), e: enableStart()
    QTest::addColumn<QString>("signals");
    QTest::addColumn<QString>("enabled"); // start, continuous
    zrtest::row("single runs", "s", "startSingle", "10");
    zrtest::row("single released", "ss", "startSingle breakSingle", "00");
    zrtest::row("ended", "sse", "startSingle breakSingle", "11");
    zrtest::row("continuous runs", "c", "startCont", "01");
    zrtest::row("break stops both", "scb", "startSingle breakSingle", "11");
    zrtest::row("break continuous", "cb", "startCont stopCont", "11");
    zrtest::row("break while idle", "b", "", "11");
}

void tst_Frame::acquisition()
{
    QFETCH(QString, clicks);
    zr6200fp_app frame;
    auto *start = frame.findChild<QPushButton *>(QStringLiteral("startButton"));
    auto *cont = frame.findChild<QPushButton *>(QStringLiteral("startContButton"));
    QStringList emitted;
    const auto note = [&emitted](const char *name) { return [&emitted, name] { emitted << QLatin1String(name); }; };
    connect(&frame, &zr6200fp_app::startSingle, note("startSingle"));
    connect(&frame, &zr6200fp_app::breakSingle, note("breakSingle"));
    connect(&frame, &zr6200fp_app::startCont, note("startCont"));
    connect(&frame, &zr6200fp_app::stopCont, note("stopCont"));
    for (QChar click : clicks) {
        if (click == QLatin1Char('s'))
            start->click();
        else if (click == QLatin1Char('c'))
            cont->click();
        else if (click == QLatin1Char('b'))
            frame.userBreak();
        else
            frame.enableStart();
    }
    QTEST(emitted.join(QLatin1Char(' ')), "signals");
    QTEST(QString(QString::number(start->isEnabled()) + QString::number(cont->isEnabled())), "enabled");
}

void tst_Frame::lamp_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("offColor");
    QTest::addColumn<QColor>("shown");
    const QColor palette = QApplication::palette().color(QPalette::Window);
    zrtest::row("on", 1, QColor(Qt::blue), QColor(Qt::green));
    zrtest::row("negative is on", -1, QColor(Qt::blue), QColor(Qt::green));
    zrtest::row("off", 0, QColor(Qt::blue), QColor(Qt::blue));
    zrtest::row("magenta means the palette", 0, QColor(Qt::magenta), palette);
}

void tst_Frame::lamp()
{
    QFETCH(int, value);
    QFETCH(QColor, offColor);
    zr6200fp_led led(QStringLiteral("Active"), QColor(Qt::green), offColor, nullptr);
    led.setValue(value);
    QTEST(led.lampColor(), "shown");
    QSignalSpy toggled(&led, &zr6200fp_led::valueToggled);
    led.toggleValue();
    QCOMPARE(led.isOn(), value == 0);
    QCOMPARE(toggled.count(), 1);
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
    QTest::addColumn<QString>("paging");  // n: next(), p: prev()
    QTest::addColumn<QString>("shown");   // model revision serial driver
    QTest::addColumn<QString>("buttons"); // visible, previous and next enabled
    zrtest::row("no card", 0, "np", "(none)", "hidden");
    zrtest::row("one card", 1, "np", "M1 R1 S1 ", "hidden");
    zrtest::row("two cards", 2, "", "M1 R1 S1 ", "shown 01");
    zrtest::row("three cards", 3, "", "M1 R1 S1 ", "shown 01");
    zrtest::row("second page", 3, "n", "M2 R2 S2 own", "shown 11");
    zrtest::row("last page", 3, "nn", "M3 R3 S3 own", "shown 10");
    zrtest::row("past the last", 3, "nnn", "M3 R3 S3 own", "shown 10");
    zrtest::row("back one page", 3, "nnp", "M2 R2 S2 own", "shown 11");
    zrtest::row("back to the first", 3, "nnpp", "M1 R1 S1 own", "shown 01");
    zrtest::row("before the first", 3, "p", "M1 R1 S1 ", "shown 01");
}

void tst_Frame::aboutPaging()
{
    QFETCH(int, cards);
    QFETCH(QString, paging);
    zr6200fp_About about("1.0", "", "7480", "(c)", nullptr, "lib");
    // The second card brings a driver revision of its own, the others none:
    // the label keeps the last one shown.
    for (int i = 1; i <= cards; ++i)
        about.addHardwareInfo(QStringLiteral("S%1").arg(i), QStringLiteral("R%1").arg(i), QStringLiteral("M%1").arg(i),
                              i == 2 ? QStringLiteral("own") : QString());
    for (QChar step : paging) {
        if (step == QLatin1Char('n'))
            about.next();
        else
            about.prev();
    }
    const QString hardware = QStringLiteral("Hardware Information");
    QStringList shown{zrtest::formField(&about, hardware, QStringLiteral("Device Model:"))};
    if (shown.first() != QLatin1String("(none)")) {
        shown << zrtest::formField(&about, hardware, QStringLiteral("Revision:"))
              << zrtest::formField(&about, hardware, QStringLiteral("Serial Number:"))
              << zrtest::formField(&about, QStringLiteral("Software Revisions"), QStringLiteral("Instrument Driver:"));
    }
    QTEST(shown.join(QLatin1Char(' ')), "shown");
    const QPushButton *prev = aboutButton(about, QStringLiteral("< Previous"));
    const QPushButton *next = aboutButton(about, QStringLiteral("Next >"));
    QTEST(prev->isHidden() ? QStringLiteral("hidden")
                           : QStringLiteral("shown %1%2").arg(int(prev->isEnabled())).arg(int(next->isEnabled())),
          "buttons");
    QCOMPARE(zrtest::formField(&about, QStringLiteral("Software Revisions"), QStringLiteral("Tervix Common Library:")),
             QStringLiteral("lib"));
}

void tst_Frame::aboutLicence()
{
    zr6200fp_About about("1.0", "drv", "7480", "(c)", nullptr, nullptr);
    QCOMPARE(zrtest::formField(&about, QStringLiteral("Software Revisions"), QStringLiteral("Tervix Common Library:")),
             QStringLiteral("(none)"));
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
    QTest::mouseClick(aboutButton(about, QStringLiteral("OK")), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

ZR_TEST_MAIN(tst_Frame)
#include "tst_frame.moc"
