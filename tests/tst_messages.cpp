#include <QApplication>
#include <QMessageBox>
#include <QtTest>
#include <cstdio>

#include "app/zr6200fp_messages.h"
#include "testsupport.h"

namespace {
QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

void showMessage(const QString &kind, const QString &text)
{
    if (kind == QLatin1String("info"))
        infoMessage(text);
    else if (kind == QLatin1String("warning"))
        warningMessage(text);
    else
        errorMessage(text);
}
} // namespace

// The answer comes before the call; a process that goes on prints "returned".
ZR_SCENARIO(errorYes)
{
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("Yes"));
    errorMessage(QStringLiteral("The card does not answer."));
    std::printf("returned\n");
    return 3;
}

ZR_SCENARIO(errorNo)
{
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("No"));
    errorMessage(QStringLiteral("The card does not answer."));
    std::printf("returned\n");
    return 3;
}

class tst_Messages : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void boxes_data();
    void boxes();
    void errorBoxNotYesReturns_data();
    void errorBoxNotYesReturns();
    void errorBoxYesEndsProcess_data();
    void errorBoxYesEndsProcess();
    void exitQuestion_data();
    void exitQuestion();
    void parentIsActiveWindow();
};

void tst_Messages::cleanup()
{
    modelLabel.clear();
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_Messages::boxes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");

    const QStringList ok{QStringLiteral("OK")};
    const QStringList yesNo{QStringLiteral("No"), QStringLiteral("Yes")};
    QTest::newRow("info") << "info"
                          << ""
                          << "Card armed."
                          << "OK"
                          << "Tervix  SFP Info message"
                          << "Card armed." << int(QMessageBox::Information) << ok;
    QTest::newRow("warning") << "warning"
                             << ""
                             << "Enter a descriptor."
                             << "OK"
                             << "Tervix  SFP Warning message"
                             << "Enter a descriptor." << int(QMessageBox::Warning) << ok;
    QTest::newRow("error") << "error"
                           << ""
                           << "No session."
                           << "No"
                           << "Tervix  SFP Error message"
                           << "No session.\nDo you want to exit?" << int(QMessageBox::Critical) << yesNo;
    QTest::newRow("info, empty text") << "info"
                                      << ""
                                      << ""
                                      << "OK"
                                      << "Tervix  SFP Info message"
                                      << "" << int(QMessageBox::Information) << ok;
    QTest::newRow("error, empty text") << "error"
                                       << ""
                                       << ""
                                       << "No"
                                       << "Tervix  SFP Error message"
                                       << "\nDo you want to exit?" << int(QMessageBox::Critical) << yesNo;
    QTest::newRow("info, model label") << "info"
                                       << "7480"
                                       << "x"
                                       << "OK"
                                       << "Tervix 7480 SFP Info message"
                                       << "x" << int(QMessageBox::Information) << ok;
    QTest::newRow("warning, model label") << "warning"
                                          << "7480"
                                          << "x"
                                          << "OK"
                                          << "Tervix 7480 SFP Warning message"
                                          << "x" << int(QMessageBox::Warning) << ok;
    QTest::newRow("error, model label") << "error"
                                        << "7480"
                                        << "x"
                                        << "No"
                                        << "Tervix 7480 SFP Error message"
                                        << "x\nDo you want to exit?" << int(QMessageBox::Critical) << yesNo;
}

void tst_Messages::boxes()
{
    QFETCH(QString, kind);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, answer);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);

    modelLabel = label;
    zrtest::ModalAnswerer answerer;
    bool noDefault = false;
    answerer.act([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        noDefault = box && !box->defaultButton();
        zrtest::clickButton(w, answer);
    });
    showMessage(kind, text);

    QCOMPARE(answerer.seen().size(), 1);
    const auto &seen = answerer.seen().first();
    QCOMPARE(seen.className, QStringLiteral("QMessageBox"));
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, shown);
    QCOMPARE(seen.icon, icon);
    QCOMPARE(sorted(seen.buttons), buttons);
    // The toolkit makes a lone OK button the default; of two, none is chosen.
    if (buttons.size() > 1)
        QVERIFY(noDefault);
    QVERIFY(answerer.unexpected().isEmpty());
}

void tst_Messages::errorBoxNotYesReturns_data()
{
    QTest::addColumn<bool>("closeControl");
    QTest::newRow("No") << false;
    QTest::newRow("close control") << true;
}

void tst_Messages::errorBoxNotYesReturns()
{
    QFETCH(bool, closeControl);
    zrtest::ModalAnswerer answerer;
    if (closeControl)
        answerer.act([](QWidget *w) { w->close(); });
    else
        answerer.click(QStringLiteral("No"));
    errorMessage(QStringLiteral("x"));
    QCOMPARE(answerer.seen().size(), 1);
    QVERIFY(answerer.unexpected().isEmpty());
}

void tst_Messages::errorBoxYesEndsProcess_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::newRow("Yes ends with 0") << "errorYes" << 0 << "";
    QTest::newRow("No goes on") << "errorNo" << 3 << "returned\n";
}

void tst_Messages::errorBoxYesEndsProcess()
{
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    const auto result = zrtest::runScenario(scenario);
    QVERIFY(result.finished);
    QCOMPARE(result.exitStatus, QProcess::NormalExit);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out, out);
}

void tst_Messages::exitQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << "Yes" << true;
    QTest::newRow("No") << "No" << false;
    QTest::newRow("close control") << "" << false;
}

void tst_Messages::exitQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, yes);
    zrtest::ModalAnswerer answerer;
    if (answer.isEmpty())
        answerer.act([](QWidget *w) { w->close(); });
    else
        answerer.click(answer);
    QCOMPARE(::exitQuestion(), yes);
    QCOMPARE(answerer.seen().size(), 1);
    const auto &seen = answerer.seen().first();
    QCOMPARE(seen.title, QStringLiteral("Tervix  SFP"));
    QCOMPARE(seen.text, QStringLiteral("Do you really want to exit?"));
    QCOMPARE(seen.icon, int(QMessageBox::Question));
    QCOMPARE(sorted(seen.buttons), (QStringList{QStringLiteral("No"), QStringLiteral("Yes")}));
}

void tst_Messages::parentIsActiveWindow()
{
    zrtest::ModalAnswerer answerer;
    QWidget *parent = reinterpret_cast<QWidget *>(1);
    const auto recordParent = [&parent](QWidget *w) {
        parent = w->parentWidget();
        zrtest::clickButton(w, QStringLiteral("OK"));
    };

    answerer.act(recordParent);
    infoMessage(QStringLiteral("no window"));
    QCOMPARE(parent, nullptr);

    QWidget window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    answerer.act(recordParent);
    warningMessage(QStringLiteral("over the window"));
    QCOMPARE(parent, &window);
}

ZR_TEST_MAIN(tst_Messages)
#include "tst_messages.moc"
