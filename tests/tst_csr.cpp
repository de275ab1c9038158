#include <QApplication>
#include <QPushButton>
#include <QtTest>

#include "led/zr6200fp_led.h"
#include "panelfixture.h"
#include "zr7480.h"
#include "zr7480fp_CSR.h"

using zrtest::benchLog;
using zrtest::calls;
using zrtest::chooseItem;

class tst_CSR : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void layoutAndHelp();
    void commands_data();
    void commands();
    void pulseEdge_data();
    void pulseEdge();
    void updateLamps_data();
    void updateLamps();
    void demoModeSendsNothing();

private:
    QPushButton *button(const QString &text) const;
    zr7480_fc card;
    std::unique_ptr<zr7480fp_App> window;
    zr7480fp_CSR *page() const { return window->csrPage; }
};

QPushButton *tst_CSR::button(const QString &text) const
{
    const auto buttons = page()->findChildren<QPushButton *>();
    for (QPushButton *b : buttons)
        if (b->text() == text)
            return b;
    return nullptr;
}

void tst_CSR::init()
{
    window = zrtest::openWindow(card);
    window->show();
    window->tabs->setCurrentWidget(window->csrPage);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_CSR::cleanup()
{
    window.reset();
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_CSR::layoutAndHelp()
{
    QCOMPARE(page()->edgeCombo->count(), 2);
    QCOMPARE(page()->edgeCombo->itemText(1), QStringLiteral("Raising"));
    QCOMPARE(button("Arm")->whatsThis(), QStringLiteral("Performs \"ARM\" command on the function card."));
    QCOMPARE(button("Update")->whatsThis(), QStringLiteral("Retrieves the current status of the function card."));
    QCOMPARE(page()->ddsErrorLed->isOn(), false);
    QCOMPARE(page()->syncStatusLed->isOn(), false);
    // Arm and Reset sit together, centred between two stretches.
    const int armX = button("Arm")->mapTo(page(), QPoint()).x();
    const int resetX = button("Reset")->mapTo(page(), QPoint()).x();
    QVERIFY(armX < resetX);
    QVERIFY(qAbs((armX - 0) - (page()->width() - (resetX + button("Reset")->width()))) <= 2);
}

void tst_CSR::commands_data()
{
    QTest::addColumn<QString>("buttonText");
    QTest::addColumn<QString>("operation");
    QTest::newRow("Arm") << "Arm"
                         << "zr7480_arm";
    QTest::newRow("Reset") << "Reset"
                           << "zr7480_reset";
}

void tst_CSR::commands()
{
    QFETCH(QString, buttonText);
    QFETCH(QString, operation);
    QTest::mouseClick(button(buttonText), Qt::LeftButton);
    QCOMPARE(benchLog().size(), 1);
    const auto sent = calls(operation);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].value("vi"), QString::number(window->driverSession()));
}

void tst_CSR::pulseEdge_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("Falling") << 0;
    QTest::newRow("Raising") << 1;
}

void tst_CSR::pulseEdge()
{
    QFETCH(int, index);
    page()->edgeCombo->setCurrentIndex(1 - index);
    QVERIFY(chooseItem(page()->edgeCombo, index));
    QVERIFY(benchLog().isEmpty());
    QTest::mouseClick(button("Pulse"), Qt::LeftButton);
    const auto sent = calls(QStringLiteral("zr7480_fpSyncPulse"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].value("edge").toInt(), index);
}

void tst_CSR::updateLamps_data()
{
    // The simulated card is synchronised only when armed with its DDS
    // frequency in range, and reports a DDS error outside 12.5 to 25 MHz.
    QTest::addColumn<double>("frequency");
    QTest::addColumn<bool>("armFirst");
    QTest::addColumn<bool>("syncLamp");
    QTest::addColumn<bool>("ddsLamp");
    QTest::newRow("synchronised, no error") << 12.5e6 << true << true << false;
    QTest::newRow("not armed, no error") << 12.5e6 << false << false << false;
    QTest::newRow("armed, frequency out of range") << 30e6 << true << false << true;
    QTest::newRow("not armed, frequency out of range") << 30e6 << false << false << true;
}

void tst_CSR::updateLamps()
{
    QFETCH(double, frequency);
    QFETCH(bool, armFirst);
    QFETCH(bool, syncLamp);
    QFETCH(bool, ddsLamp);
    // Light both lamps the other way first, so each row shows a change.
    page()->syncStatusLed->setValue(syncLamp ? 0 : 1);
    page()->ddsErrorLed->setValue(ddsLamp ? 0 : 1);
    const ViSession vi = window->driverSession();
    QCOMPARE(zr7480_configureClock(vi, 0, frequency, 4, 0, 0, 0), ViStatus(VI_SUCCESS));
    if (armFirst)
        QTest::mouseClick(button("Arm"), Qt::LeftButton);
    simbench_clearLog();
    QTest::mouseClick(button("Update"), Qt::LeftButton);
    QCOMPARE(calls(QStringLiteral("zr7480_getStatus")).size(), 1);
    QCOMPARE(page()->syncStatusLed->isOn(), syncLamp);
    QCOMPARE(page()->ddsErrorLed->isOn(), ddsLamp);
}

void tst_CSR::demoModeSendsNothing()
{
    window.reset();
    window = zrtest::openWindow(card, true);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    for (const char *text : {"Arm", "Reset", "Pulse", "Update"})
        QTest::mouseClick(button(QLatin1String(text)), Qt::LeftButton);
    QVERIFY(benchLog().isEmpty());
    QCOMPARE(page()->ddsErrorLed->isOn(), false);
    QCOMPARE(page()->syncStatusLed->isOn(), false);
    QVERIFY(zrtest::visibleTopLevels().size() == 1);
}

ZR_TEST_MAIN(tst_CSR)
#include "tst_csr.moc"
