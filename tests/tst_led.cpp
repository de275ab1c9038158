#include <QApplication>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QtTest>

#include "led/clickableLabel.h"
#include "led/zr6200fp_led.h"
#include "testsupport.h"

namespace {
// Counts the paint events one widget receives.
class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type)
        : type(type)
    {
        watched->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == type)
            ++count;
        return false;
    }

private:
    QEvent::Type type;
};

// A lamp in a shown window, with its paint events counted from a quiet
// start.
struct ShownLed
{
    explicit ShownLed(zr6200fp_led *led)
        : led(led)
        , paints(led, QEvent::Paint)
    {
        window.resize(200, 60);
        led->setParent(&window);
        led->move(10, 10);
        led->resize(led->minimumSizeHint());
        window.show();
        if (QTest::qWaitForWindowExposed(&window))
            QCoreApplication::processEvents();
        paints.count = 0;
    }
    QWidget window;
    zr6200fp_led *led;
    EventCounter paints;
};

int lineHeight(const QWidget &w)
{
    return QFontMetrics(w.font()).height();
}

QColor lampPixel(zr6200fp_led &led)
{
    const int h = lineHeight(led);
    const int x0 = zr6200fp_led::lampLeft(led.width(), led.minimumSizeHint().width());
    return led.grab().toImage().pixelColor(x0 + h / 2, h / 2);
}

// Pixels of the lamp's square (left of the caption) that satisfy test.
template <typename Test> int lampPixels(zr6200fp_led &led, Test test)
{
    const QImage image = led.grab().toImage();
    const int h = lineHeight(led);
    const int x0 = zr6200fp_led::lampLeft(led.width(), led.minimumSizeHint().width());
    int n = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = x0; x < x0 + h; ++x) {
            if (test(image.pixelColor(x, y)))
                ++n;
        }
    }
    return n;
}
} // namespace

class tst_Led : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void setValueRepaintsOnChange();
    void toggleValue_data();
    void toggleValue();
    void colourChangesRepaintOnlyWhenShown();
    void setText();
    void colours_data();
    void colours();
    void magentaMarkerTakesPaletteOnce();
    void sizeHint_data();
    void sizeHint();
    void layoutKeepsHintSize();
    void lampLeft_data();
    void lampLeft();
    void bevelOnlyWithLargeFont();
    void clickableLabelText();
    void clickableLabelClicks_data();
    void clickableLabelClicks();
};

void tst_Led::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_Led::setValueRepaintsOnChange()
{
    auto *led = new zr6200fp_led(QStringLiteral("Active"), QColor(Qt::green), QColor(Qt::black), nullptr);
    ShownLed shown(led);
    QSignalSpy toggled(led, &zr6200fp_led::valueToggled);
    QVERIFY(!led->isOn());

    led->setValue(3);
    QVERIFY(led->isOn());
    QCOMPARE(shown.paints.count, 1);
    QCOMPARE(lampPixel(*led), QColor(Qt::green));
    shown.paints.count = 0;

    led->setValue(3);
    QCOMPARE(shown.paints.count, 0);
    led->setValue(1);
    QCOMPARE(shown.paints.count, 1);
    QVERIFY(led->isOn());

    led->toggleValue();
    QVERIFY(!led->isOn());
    QCOMPARE(shown.paints.count, 2);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(lampPixel(*led), QColor(Qt::black));
    shown.paints.count = 0;

    led->setValue(0);
    QCOMPARE(shown.paints.count, 0);
    QCOMPARE(toggled.count(), 1);
}

void tst_Led::toggleValue_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("onAfterFirst");
    // The value after two toggles, seen by which setValue does not repaint.
    QTest::addColumn<int>("afterTwo");
    QTest::newRow("from 0") << 0 << true << 0;
    QTest::newRow("from 1") << 1 << false << 1;
    QTest::newRow("from 5") << 5 << false << 1;
    QTest::newRow("from -1") << -1 << false << 1;
}

void tst_Led::toggleValue()
{
    QFETCH(int, start);
    QFETCH(bool, onAfterFirst);
    QFETCH(int, afterTwo);
    auto *led = new zr6200fp_led(QStringLiteral("x"), QColor(Qt::red), QColor(Qt::blue), nullptr);
    ShownLed shown(led);
    led->setValue(start);
    QSignalSpy toggled(led, &zr6200fp_led::valueToggled);
    shown.paints.count = 0;

    led->toggleValue();
    QCOMPARE(led->isOn(), onAfterFirst);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(shown.paints.count, 1);
    led->toggleValue();
    QCOMPARE(toggled.count(), 2);
    QCOMPARE(shown.paints.count, 2);

    led->setValue(afterTwo);
    QCOMPARE(shown.paints.count, 2);
}

void tst_Led::colourChangesRepaintOnlyWhenShown()
{
    auto *led = new zr6200fp_led(QStringLiteral("x"), QColor(Qt::red), QColor(Qt::blue), nullptr);
    ShownLed shown(led);

    led->setOnColor(QColor(Qt::yellow));
    QCOMPARE(shown.paints.count, 0);
    QCOMPARE(lampPixel(*led), QColor(Qt::blue));
    shown.paints.count = 0;
    led->setOffColor(QColor(Qt::cyan));
    QCOMPARE(shown.paints.count, 1);

    led->setValue(1);
    QCOMPARE(lampPixel(*led), QColor(Qt::yellow));
    shown.paints.count = 0;
    led->setOffColor(QColor(Qt::darkGreen));
    QCOMPARE(shown.paints.count, 0);
    led->setOnColor(QColor(Qt::darkRed));
    QCOMPARE(shown.paints.count, 1);
    led->setValue(0);
    QCOMPARE(lampPixel(*led), QColor(Qt::darkGreen));
}

void tst_Led::setText()
{
    auto *led = new zr6200fp_led(QStringLiteral("Active"), "green", nullptr);
    ShownLed shown(led);
    EventCounter layoutRequests(&shown.window, QEvent::LayoutRequest);
    const QSize before = led->minimumSizeHint();

    led->setText(QStringLiteral("Active"));
    QCOMPARE(shown.paints.count, 0);
    led->setText(QStringLiteral("A much longer caption"));
    QCOMPARE(shown.paints.count, 1);
    QVERIFY(led->minimumSizeHint().width() > before.width());
    QCOMPARE(led->minimumSizeHint().height(), before.height());
    QCoreApplication::processEvents();
    QCOMPARE(layoutRequests.count, 0);
    QCOMPARE(led->size(), before);
}

void tst_Led::colours_data()
{
    QTest::addColumn<int>("constructor"); // 0: two colours, 1: colour name
    QTest::addColumn<QColor>("onArg");
    QTest::addColumn<QColor>("offArg");
    QTest::addColumn<QString>("nameArg"); // "<null>" passes a null pointer
    QTest::addColumn<QColor>("on");
    QTest::addColumn<QColor>("off"); // invalid: the palette's window colour

    const QColor window;
    QTest::newRow("two colours") << 0 << QColor(Qt::green) << QColor(Qt::darkGray) << "" << QColor(Qt::green)
                                 << QColor(Qt::darkGray);
    QTest::newRow("magenta marker") << 0 << QColor(Qt::green) << QColor(Qt::magenta) << "" << QColor(Qt::green)
                                    << window;
    QTest::newRow("magenta by numbers") << 0 << QColor(Qt::red) << QColor(255, 0, 255) << "" << QColor(Qt::red)
                                        << window;
    QTest::newRow("near magenta kept") << 0 << QColor(Qt::red) << QColor(254, 0, 255) << "" << QColor(Qt::red)
                                       << QColor(254, 0, 255);
    QTest::newRow("named colour") << 1 << QColor() << QColor() << "navy" << QColor(0, 0, 128) << window;
    QTest::newRow("hex name") << 1 << QColor() << QColor() << "#00ff7f" << QColor(0, 255, 127) << window;
    QTest::newRow("null name is red") << 1 << QColor() << QColor() << "<null>" << QColor(255, 0, 0) << window;
}

void tst_Led::colours()
{
    QFETCH(int, constructor);
    QFETCH(QColor, onArg);
    QFETCH(QColor, offArg);
    QFETCH(QString, nameArg);
    QFETCH(QColor, on);
    QFETCH(QColor, off);

    const QByteArray name = nameArg.toLatin1();
    auto *led = constructor == 0 ? new zr6200fp_led(QStringLiteral("Lamp"), onArg, offArg, nullptr)
                                 : new zr6200fp_led(QStringLiteral("Lamp"),
                                                    nameArg == "<null>" ? nullptr : name.constData(), nullptr);
    const QColor expectedOff = off.isValid() ? off : led->palette().color(QPalette::Window);
    ShownLed shown(led);

    QCOMPARE(led->lampColor(), expectedOff);
    QCOMPARE(lampPixel(*led), expectedOff);
    QVERIFY(lampPixel(*led) != QColor(Qt::magenta));
    led->setValue(1);
    QCOMPARE(led->lampColor(), on);
    QCOMPARE(lampPixel(*led), on);
}

void tst_Led::magentaMarkerTakesPaletteOnce()
{
    auto *led = new zr6200fp_led(QStringLiteral("Lamp"), QColor(Qt::green), QColor(Qt::magenta), nullptr);
    const QColor atConstruction = led->palette().color(QPalette::Window);
    ShownLed shown(led);
    QPalette changed = led->palette();
    changed.setColor(QPalette::Window, QColor(10, 20, 30));
    led->setPalette(changed);
    QCOMPARE(led->lampColor(), atConstruction);
    QCOMPARE(lampPixel(*led), atConstruction);

    // Any other colour, even an invalid one, is stored as given.
    led->setOffColor(QColor());
    QVERIFY(!led->lampColor().isValid());
}

void tst_Led::sizeHint_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("Active") << "Active" << 0;
    QTest::newRow("long") << "Sync status of the front-panel output, channel 2" << 0;
    QTest::newRow("empty, large font") << "" << 31;
    QTest::newRow("long, small font") << "Sync status of the front-panel output" << 6;
}

void tst_Led::sizeHint()
{
    QFETCH(QString, caption);
    QFETCH(int, pixelSize);
    zr6200fp_led led(caption, QColor(Qt::green), QColor(Qt::magenta), nullptr);
    if (pixelSize) {
        QFont font = led.font();
        font.setPixelSize(pixelSize);
        led.setFont(font);
    }
    const QFontMetrics fm(led.font());
    const int h = fm.height();
    const int w = fm.horizontalAdvance(caption);
    if (caption.isEmpty())
        QCOMPARE(w, 0);
    else
        QVERIFY(w > 0);
    QCOMPARE(led.minimumSizeHint(), QSize(h + 1 + w + (h + 1) / 2, h + 2));
    QCOMPARE(led.sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(led.sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
}

void tst_Led::layoutKeepsHintSize()
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *led = new zr6200fp_led(QStringLiteral("Active"), QColor(Qt::green), QColor(Qt::magenta), &window);
    layout->addWidget(led);
    window.resize(400, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(led->size(), led->minimumSizeHint());
}

void tst_Led::lampLeft_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("hint");
    QTest::addColumn<int>("left");
    QTest::newRow("wider, even excess") << 100 << 60 << 22;
    QTest::newRow("wider, odd excess") << 61 << 60 << 2;
    QTest::newRow("exact") << 60 << 60 << 2;
    QTest::newRow("one narrower") << 59 << 60 << 1;
    QTest::newRow("three narrower") << 57 << 60 << 0;
    QTest::newRow("much narrower") << 10 << 60 << -23;
}

void tst_Led::lampLeft()
{
    QFETCH(int, width);
    QFETCH(int, hint);
    QFETCH(int, left);
    QCOMPARE(zr6200fp_led::lampLeft(width, hint), left);
}

void tst_Led::bevelOnlyWithLargeFont()
{
    const auto whiterThanWindow = [](const QColor &c) { return c.red() > 0xf8 && c.green() > 0xf8 && c.blue() > 0xf8; };
    const auto dark = [](const QColor &c) { return c.red() < 0x90 && c.green() < 0x90 && c.blue() < 0x90; };
    for (const int pixelSize : {6, 30}) {
        auto *led = new zr6200fp_led(QString(), QColor(Qt::green), QColor(Qt::green), nullptr);
        QFont font = led->font();
        font.setPixelSize(pixelSize);
        led->setFont(font);
        ShownLed shown(led);
        const bool small = lineHeight(*led) < 10;
        QCOMPARE(small, pixelSize == 6);
        QVERIFY(led->palette().color(QPalette::Window).lightness() < 250);
        // The bevel's light half is lighter than the window colour; the small
        // lamp has only an outline in the foreground colour.
        QCOMPARE(lampPixels(*led, whiterThanWindow) > 0, !small);
        QVERIFY(lampPixels(*led, dark) > 0);
        QCOMPARE(lampPixel(*led), QColor(Qt::green));
    }
}

void tst_Led::clickableLabelText()
{
    clickableLabel label(QStringLiteral("LGPL"), nullptr);
    QCOMPARE(label.text(), QStringLiteral("<u><font color='#22e'>LGPL</font></u>"));
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
}

void tst_Led::clickableLabelClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void tst_Led::clickableLabelClicks()
{
    QFETCH(Qt::MouseButton, button);
    QWidget window;
    auto *label = new clickableLabel(QStringLiteral("6.4.2"), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(label, &clickableLabel::clicked);
    QTest::mousePress(label, button);
    QCOMPARE(clicked.count(), 0);
    QTest::mouseRelease(label, button);
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(label, button);
    QCOMPARE(clicked.count(), 2);
}

ZR_TEST_MAIN(tst_Led)
#include "tst_led.moc"
