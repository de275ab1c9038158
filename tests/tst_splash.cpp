#include <QApplication>
#include <QImage>
#include <QtTest>

#include "splash/zr6200fp_splashLabel.h"
#include "testsupport.h"
#include "zr7480_fc.h"

namespace {
const char *const kComplaint =
    "The size of the image of the device, that is to be used in the splash screen, is not as required!!!\n";

QImage compose(int number, bool hex = true)
{
    return zr6200fp_splashLabel(1.0f, 20, number, hex, QStringLiteral("bottom"), QStringLiteral("middle"))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool sameRegion(const QImage &a, QPoint atA, const QImage &b, QPoint atB, QSize size)
{
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (a.pixel(atA + QPoint(x, y)) != b.pixel(atB + QPoint(x, y)))
                return false;
        }
    }
    return true;
}
} // namespace

class tst_Splash : public QObject
{
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
    void deviceBitmapFillsDeviceArea();
    void pngAlternative();
    void complaint_data();
    void complaint();
};

void tst_Splash::numberText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("text");
    QTest::newRow("7480 hex") << 0x7480 << true << "7480";
    QTest::newRow("7480 decimal") << 0x7480 << false << "29824";
    QTest::newRow("short hex padded") << 0x12 << true << "  12";
    QTest::newRow("short decimal padded") << 5 << false << "   5";
    QTest::newRow("lower-case digits") << 0xabcd << true << "abcd";
}

void tst_Splash::numberText()
{
    QFETCH(int, number);
    QFETCH(bool, hex);
    QFETCH(QString, text);
    QCOMPARE(zr6200fp_splashLabel::numberText(number, hex), text);
}

void tst_Splash::deviceBitmapFillsDeviceArea()
{
    const QImage splash = compose(0x7480);
    QCOMPARE(splash.size(), QSize(520, 400));
    const QImage device = QImage(QStringLiteral(":/zr7480fp_splash.bmp")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(device.size(), QSize(520, 400));
    QVERIFY(sameRegion(splash, QPoint(67, 38), device, QPoint(67, 38), QSize(453, 199)));
    // Outside the device area the common background stays.
    const QImage background = QImage(QStringLiteral(":/fp_splash.png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(sameRegion(splash, QPoint(0, 0), background, QPoint(0, 0), QSize(67, 236)));
    QVERIFY(sameRegion(splash, QPoint(67, 0), background, QPoint(67, 0), QSize(453, 38)));
    // The title is drawn in the text area.
    QVERIFY(!sameRegion(splash, QPoint(87, 237), background, QPoint(87, 237), QSize(413, 60)));
}

void tst_Splash::pngAlternative()
{
    const QImage splash = compose(0x1234);
    const QImage png = QImage(QStringLiteral(":/zr1234fp_splash.png")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(sameRegion(splash, QPoint(67, 43), png, QPoint(0, 0), QSize(452, 194)));
}

void tst_Splash::complaint_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<bool>("complains");
    QTest::newRow("7480 bitmap fits") << "splash7480" << false;
    QTest::newRow("png alternative fits") << "splash1234" << false;
    QTest::newRow("bitmap 520x399, no png") << "splash1235" << true;
    QTest::newRow("png 452x193") << "splash1236" << true;
    QTest::newRow("decimal name has no picture") << "splash7480decimal" << true;
}

void tst_Splash::complaint()
{
    QFETCH(QString, scenario);
    QFETCH(bool, complains);
    const auto result = zrtest::runScenario(scenario);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, complains ? QString::fromLatin1(kComplaint) : QString());
}

ZR_SCENARIO(splash7480)
{
    compose(0x7480);
    return 0;
}
ZR_SCENARIO(splash1234)
{
    compose(0x1234);
    return 0;
}
ZR_SCENARIO(splash1235)
{
    compose(0x1235);
    return 0;
}
ZR_SCENARIO(splash1236)
{
    compose(0x1236);
    return 0;
}
ZR_SCENARIO(splash7480decimal)
{
    compose(0x7480, false);
    return 0;
}

ZR_TEST_MAIN(tst_Splash)
#include "tst_splash.moc"
