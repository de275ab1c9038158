#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QtTest>
#include <cstdio>

#include "app/zr6200fp_app.h"
#include "led/zr6200fp_led.h"
#include "resources/zr6200fp_icons.h"
#include "testsupport.h"

namespace {
// The frame with its fields in reach of the tests.
class Frame : public zr6200fp_app
{
public:
    using zr6200fp_app::aboutButton;
    using zr6200fp_app::aboutDialog;
    using zr6200fp_app::activeLed;
    using zr6200fp_app::autoscaleButton;
    using zr6200fp_app::autoscaleLabel;
    using zr6200fp_app::busLogoLabel;
    using zr6200fp_app::buttonColumn;
    using zr6200fp_app::closeButton;
    using zr6200fp_app::contentWidget;
    using zr6200fp_app::fcLabel;
    using zr6200fp_app::frameBuilt;
    using zr6200fp_app::headerLabel;
    using zr6200fp_app::helpButton;
    using zr6200fp_app::identButton;
    using zr6200fp_app::identLabel;
    using zr6200fp_app::moduleLabel;
    using zr6200fp_app::resetButton;
    using zr6200fp_app::startButton;
    using zr6200fp_app::startContButton;

    QWidget *field(const QString &name)
    {
        const QHash<QString, QWidget *> fields{{QStringLiteral("activeLed"), activeLed},
                                               {QStringLiteral("autoscaleButton"), autoscaleButton},
                                               {QStringLiteral("identButton"), identButton},
                                               {QStringLiteral("startButton"), startButton},
                                               {QStringLiteral("startContButton"), startContButton},
                                               {QStringLiteral("resetButton"), resetButton},
                                               {QStringLiteral("helpButton"), helpButton},
                                               {QStringLiteral("aboutButton"), aboutButton},
                                               {QStringLiteral("closeButton"), closeButton},
                                               {QStringLiteral("moduleLabel"), moduleLabel},
                                               {QStringLiteral("fcLabel"), fcLabel}};
        return fields.value(name);
    }
};

void showAndActivate(QWidget &w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

QImage iconImage(const QIcon &icon, QSize size)
{
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage asArgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The colours an image uses, transparent pixels counted as 0.
QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            colours.insert(qAlpha(p) == 0 ? 0 : p);
        }
    }
    return colours;
}

// Signals of the frame in the order they came.
QStringList *recordSignals(zr6200fp_app &frame)
{
    auto *log = new QStringList;
    QObject::connect(&frame, &zr6200fp_app::startSingle, &frame, [log] { *log << QStringLiteral("startSingle"); });
    QObject::connect(&frame, &zr6200fp_app::breakSingle, &frame, [log] { *log << QStringLiteral("breakSingle"); });
    QObject::connect(&frame, &zr6200fp_app::startCont, &frame, [log] { *log << QStringLiteral("startCont"); });
    QObject::connect(&frame, &zr6200fp_app::stopCont, &frame, [log] { *log << QStringLiteral("stopCont"); });
    QObject::connect(&frame, &QObject::destroyed, [log] { delete log; });
    return log;
}

class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : name(name)
        , wasSet(qEnvironmentVariableIsSet(name))
        , value(qgetenv(name))
    {
    }
    ~EnvironmentGuard()
    {
        if (wasSet)
            qputenv(name, value);
        else
            qunsetenv(name);
    }

private:
    const char *name;
    bool wasSet;
    QByteArray value;
};

const char *const kStartContHelp = "<html>Starts the repetitive data acquisition (or continuous data acquisition, "
                                   "when file storage option is turned on)</html>";
} // namespace

// The exit question ends the event loop through the last window closing.
ZR_SCENARIO(closeButtonYes)
{
    Frame frame;
    frame.show();
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("No")).click(QStringLiteral("Yes"));
    QTimer::singleShot(0, frame.closeButton, &QPushButton::click);
    QTimer::singleShot(100, frame.closeButton, &QPushButton::click);
    const int result = QApplication::exec();
    std::printf("loop ended with %d after %d questions\n", result, int(answerer.seen().size()));
    return 0;
}

ZR_SCENARIO(closeControlYes)
{
    Frame frame;
    frame.show();
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("No")).click(QStringLiteral("Yes"));
    const auto closeControl = [&frame] {
        QCloseEvent event;
        QCoreApplication::sendEvent(frame.windowHandle(), &event);
    };
    QTimer::singleShot(0, &frame, closeControl);
    QTimer::singleShot(100, &frame, closeControl);
    const int result = QApplication::exec();
    std::printf("loop ended with %d after %d questions\n", result, int(answerer.seen().size()));
    return 0;
}

class tst_Frame : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void fields();
    void layout();
    void whatsThis_data();
    void whatsThis();
    void windowIconPixels();
    void icons_data();
    void icons();
    void logos();
    void exitQuestion_data();
    void exitQuestion();
    void exitEndsEventLoop_data();
    void exitEndsEventLoop();
    void showAutoscale();
    void showIdentify();
    void showLxiLogo();
    void identificationLabels_data();
    void identificationLabels();
    void demoMode();
    void panelLayout();
    void resetAndHelp();
    void toggles();
    void acquisition();
    void userBreakOrder();
    void centerWidget_data();
    void centerWidget();
    void frameIsCentred();
    void settingsFolder_data();
    void settingsFolder();
};

void tst_Frame::initTestCase()
{
    // Closing the frame here must not end the test's own event loops; the
    // scenarios check that it ends the program's.
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Frame::cleanup()
{
    if (QWhatsThis::inWhatsThisMode())
        QWhatsThis::leaveWhatsThisMode();
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_Frame::fields()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    Frame frame;
    QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
    QVERIFY(frame.isWindow());
    QCOMPARE(frame.parentWidget(), nullptr);
    QVERIFY(frame.frameBuilt);
    QCOMPARE(frame.aboutDialog, nullptr);
    QCOMPARE(frame.resetButton->text(), QStringLiteral("Reset Device"));
    QCOMPARE(frame.aboutButton->text(), QStringLiteral("About"));
    QCOMPARE(frame.closeButton->text(), QStringLiteral("Close"));
    QVERIFY(frame.helpButton->text().isEmpty());
    QCOMPARE(frame.helpButton->iconSize(), QSize(20, 17));
    QVERIFY(frame.startButton->text().isEmpty());
    QVERIFY(frame.startContButton->text().isEmpty());
    QCOMPARE(frame.autoscaleLabel->text(), QStringLiteral("Autoscale"));
    QCOMPARE(frame.autoscaleLabel->alignment(), Qt::AlignCenter);
    QCOMPARE(frame.autoscaleButton->text(), QStringLiteral("ON"));
    QVERIFY(frame.autoscaleButton->isCheckable());
    QVERIFY(frame.autoscaleButton->isChecked());
    QCOMPARE(frame.identLabel->text(), QStringLiteral("Identify"));
    QCOMPARE(frame.identLabel->alignment(), Qt::AlignCenter);
    QCOMPARE(frame.identButton->text(), QStringLiteral("OFF"));
    QVERIFY(frame.identButton->isCheckable());
    QVERIFY(!frame.identButton->isChecked());
    QVERIFY(frame.startButton->isCheckable());
    QVERIFY(frame.startContButton->isCheckable());
    QVERIFY(frame.moduleLabel->text().isEmpty());
    QVERIFY(frame.fcLabel->text().isEmpty());
    QCOMPARE(frame.headerLabel->styleSheet(),
             QStringLiteral("QLabel { background-color: #1a2c5e; color: #ffffff; font: bold 20px}"));
    QCOMPARE(frame.headerLabel->alignment(), Qt::AlignCenter);
    QCOMPARE(frame.headerLabel->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(frame.headerLabel->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
    // The lamp is dark and, off, shows the window colour rather than magenta.
    QVERIFY(!frame.activeLed->isOn());
    QCOMPARE(frame.activeLed->lampColor(), frame.activeLed->palette().color(QPalette::Window));
    QCOMPARE(frame.layout()->sizeConstraint(), QLayout::SetMinimumSize);
}

void tst_Frame::layout()
{
    Frame frame;
    showAndActivate(frame);
    const int h = frame.fontMetrics().height();

    for (QWidget *hidden : {static_cast<QWidget *>(frame.autoscaleLabel), static_cast<QWidget *>(frame.autoscaleButton),
                            static_cast<QWidget *>(frame.identLabel), static_cast<QWidget *>(frame.identButton),
                            static_cast<QWidget *>(frame.startButton), static_cast<QWidget *>(frame.startContButton)})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    for (QWidget *shown : {static_cast<QWidget *>(frame.activeLed), static_cast<QWidget *>(frame.moduleLabel),
                           static_cast<QWidget *>(frame.fcLabel), static_cast<QWidget *>(frame.resetButton),
                           static_cast<QWidget *>(frame.helpButton), static_cast<QWidget *>(frame.aboutButton),
                           static_cast<QWidget *>(frame.closeButton), static_cast<QWidget *>(frame.headerLabel),
                           static_cast<QWidget *>(frame.busLogoLabel), frame.contentWidget})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));

    // Header across the top: maker's logo, text, bus logo at the right end.
    QCOMPARE(frame.busLogoLabel->geometry(), QRect(frame.width() - 146, 0, 146, 84));
    QCOMPARE(frame.headerLabel->geometry(), QRect(86, 0, frame.width() - 86 - 146, 84));

    // Body below the header, h apart; content on the left, column on the right.
    const QWidget *ledBox = frame.activeLed->parentWidget();
    QVERIFY(qobject_cast<const QGroupBox *>(ledBox));
    QVERIFY(qobject_cast<const QGroupBox *>(ledBox)->title().isEmpty());
    QCOMPARE(frame.moduleLabel->parentWidget(), ledBox);
    QCOMPARE(frame.fcLabel->parentWidget(), ledBox);
    QVERIFY(frame.activeLed->y() < frame.moduleLabel->y());
    QVERIFY(frame.moduleLabel->y() < frame.fcLabel->y());
    QCOMPARE(ledBox->y(), 84 + h);
    QCOMPARE(frame.contentWidget->geometry().topLeft(), QPoint(h / 2, 84 + h));
    QVERIFY(frame.contentWidget->geometry().right() < ledBox->x());
    QCOMPARE(frame.closeButton->geometry().right(), frame.width() - 1 - h / 2);
    QCOMPARE(frame.closeButton->geometry().bottom(), frame.height() - 1 - 2 * (h / 2));

    QVERIFY(ledBox->geometry().bottom() < frame.resetButton->y());
    QVERIFY(frame.resetButton->geometry().bottom() < frame.helpButton->y());
    QCOMPARE(frame.aboutButton->y() - frame.helpButton->geometry().bottom() - 1, h / 2);
    QCOMPARE(frame.closeButton->y() - frame.aboutButton->geometry().bottom() - 1, h / 2);

    // The window cannot be made smaller than its contents need.
    frame.resize(10, 10);
    QTRY_VERIFY(frame.width() >= frame.layout()->minimumSize().width());
    QVERIFY(frame.height() >= frame.layout()->minimumSize().height());
}

void tst_Frame::whatsThis_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("help");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("activeLed") << "activeLed"
                               << "Green light means that the Soft Front Panel works\nin Real (not Demo) mode."
                               << false;
    QTest::newRow("autoscaleButton") << "autoscaleButton"
                                     << "Enables/disables plot autorescale feature" << true;
    QTest::newRow("identButton") << "identButton"
                                 << "Enables/disables visual identification mechanism" << true;
    QTest::newRow("startButton") << "startButton"
                                 << "Starts the single-shot data acquisition" << true;
    QTest::newRow("startContButton") << "startContButton" << kStartContHelp << true;
    QTest::newRow("resetButton") << "resetButton"
                                 << "" << false;
    QTest::newRow("helpButton") << "helpButton"
                                << "Show on-line help for Instrument Soft Front Panel components" << false;
    QTest::newRow("aboutButton") << "aboutButton"
                                 << "Displays \"About\" panel" << false;
    QTest::newRow("closeButton") << "closeButton"
                                 << "Close main panel and terminates program" << false;
    QTest::newRow("moduleLabel") << "moduleLabel"
                                 << "" << false;
    QTest::newRow("fcLabel") << "fcLabel"
                             << "" << false;
}

void tst_Frame::whatsThis()
{
    QFETCH(QString, field);
    QFETCH(QString, help);
    QFETCH(bool, tooltip);
    Frame frame;
    QWidget *w = frame.field(field);
    QVERIFY(w);
    QCOMPARE(w->objectName(), field);
    QCOMPARE(w->whatsThis(), help);
    QCOMPARE(w->toolTip(), tooltip ? help : QString());
}

void tst_Frame::windowIconPixels()
{
    const char *const rows[16] = {"########....aaa.", "#########..aaaaa", "##########.aaaaa", "#########..aaaaa",
                                  "########....aaa.", "................", ".bbb....########", "bbbbb..#########",
                                  "bbbbb.##########", "bbbbb..#########", ".bbb....########", "................",
                                  "c..cc.cc.c.cc.cc", "cc.cc.c..c.cc.c.", "cc.cc..c.c.c..c.", "cc.cc.cc.c.cc.cc"};
    const QHash<char, QRgb> palette{{'c', 0xffffffff}, {'b', 0xff0000ff}, {'#', 0xff808080}, {'a', 0xffff0000}};
    Frame frame;
    const QImage icon = iconImage(frame.windowIcon(), QSize(16, 16));
    QCOMPARE(icon.size(), QSize(16, 16));
    const QImage doubled = iconImage(frame.windowIcon(), QSize(32, 32));
    QCOMPARE(doubled.size(), QSize(32, 32));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const char c = rows[y][x];
            const QRgb p = icon.pixel(x, y);
            const QString where = QStringLiteral("pixel %1,%2").arg(x).arg(y);
            if (c == '.')
                QVERIFY2(qAlpha(p) == 0, qPrintable(where));
            else
                QVERIFY2(p == palette.value(c), qPrintable(where));
            // Enlarged without blending: every pixel becomes a 2 x 2 block.
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx)
                    QVERIFY2(doubled.pixel(2 * x + dx, 2 * y + dy) == p, qPrintable(where));
            }
        }
    }
    QCOMPARE(asArgb(zr6200fp_icons::windowIconImage()), icon);
}

void tst_Frame::icons_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::newRow("start") << zr6200fp_icons::startIconImage() << QSize(12, 12) << QList<QRgb>{0, 0xff008000};
    QTest::newRow("continuous") << zr6200fp_icons::continuousIconImage() << QSize(12, 12) << QList<QRgb>{0, 0xff008000};
    QTest::newRow("stop") << zr6200fp_icons::stopIconImage() << QSize(12, 12) << QList<QRgb>{0, 0xff800000};
    QTest::newRow("help") << zr6200fp_icons::helpIconImage() << QSize(20, 17) << QList<QRgb>{0, 0xff000000, 0xffffffff};
}

void tst_Frame::icons()
{
    QFETCH(QImage, image);
    QFETCH(QSize, size);
    QFETCH(QList<QRgb>, colours);
    QCOMPARE(image.size(), size);
    const QSet<QRgb> used = coloursOf(asArgb(image));
    QCOMPARE(used, QSet<QRgb>(colours.cbegin(), colours.cend()));
    if (QTest::currentDataTag() == QByteArray("stop")) {
        // A bar 12 wide and 10 high with one clear row above and below.
        const QImage stop = asArgb(image);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x)
                QCOMPARE(qAlpha(stop.pixel(x, y)) != 0, y >= 1 && y <= 10);
        }
    }
}

void tst_Frame::logos()
{
    Frame frame;
    const auto labels = frame.findChildren<QLabel *>();
    const QLabel *maker = nullptr;
    for (const QLabel *label : labels) {
        if (label != frame.busLogoLabel && !label->pixmap().isNull())
            maker = label;
    }
    QVERIFY(maker);
    QCOMPARE(asArgb(maker->pixmap().toImage()), asArgb(QImage(QStringLiteral(":/halvar-logo.bmp"))));
    QCOMPARE(asArgb(frame.busLogoLabel->pixmap().toImage()), asArgb(QImage(QStringLiteral(":/vxi-logo.bmp"))));

    // On a denser screen the same logo is enlarged smoothly, same size on
    // screen.
    const QPixmap dense = zr6200fp_icons::picture(QStringLiteral(":/vxi-logo.bmp"), 2.0);
    QCOMPARE(dense.devicePixelRatio(), 2.0);
    QCOMPARE(dense.size(), QSize(292, 168));
    QCOMPARE(dense.deviceIndependentSize(), QSizeF(146, 84));
}

void tst_Frame::exitQuestion_data()
{
    QTest::addColumn<bool>("closeControl");
    QTest::newRow("Close button") << false;
    QTest::newRow("close control") << true;
}

void tst_Frame::exitQuestion()
{
    QFETCH(bool, closeControl);
    Frame frame;
    showAndActivate(frame);
    QWidget *parent = nullptr;
    zrtest::ModalAnswerer answerer;
    const auto answer = [&parent](const QString &button) {
        return [&parent, button](QWidget *w) {
            parent = w->parentWidget();
            zrtest::clickButton(w, button);
        };
    };
    const auto askToClose = [&frame, closeControl] {
        if (closeControl) {
            QCloseEvent event;
            QCoreApplication::sendEvent(frame.windowHandle(), &event);
        } else {
            QTest::mouseClick(frame.closeButton, Qt::LeftButton);
        }
    };

    answerer.act(answer(QStringLiteral("No")));
    askToClose();
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(parent, &frame);
    QVERIFY(frame.isVisible());

    // Closing the box counts as No.
    answerer.act([](QWidget *w) { w->close(); });
    askToClose();
    QCOMPARE(answerer.seen().size(), 2);
    QVERIFY(frame.isVisible());

    answerer.act(answer(QStringLiteral("Yes")));
    askToClose();
    QCOMPARE(answerer.seen().size(), 3);
    QVERIFY(!frame.isVisible());

    for (const auto &seen : answerer.seen()) {
        QCOMPARE(seen.title, QStringLiteral("Tervix  SFP"));
        QCOMPARE(seen.text, QStringLiteral("Do you really want to exit?"));
        QCOMPARE(seen.icon, int(QMessageBox::Question));
    }
    QVERIFY(answerer.unexpected().isEmpty());
}

void tst_Frame::exitEndsEventLoop_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("Close button") << "closeButtonYes";
    QTest::newRow("close control") << "closeControlYes";
}

void tst_Frame::exitEndsEventLoop()
{
    QFETCH(QString, scenario);
    const auto result = zrtest::runScenario(scenario);
    QVERIFY(result.finished);
    QCOMPARE(result.exitStatus, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("loop ended with 0 after 2 questions\n"));
}

void tst_Frame::showAutoscale()
{
    Frame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QSize small(500, 450);

    frame.showAutoscale(false);
    QVERIFY(!frame.autoscaleLabel->isVisible());
    QVERIFY(!frame.autoscaleButton->isVisible());
    frame.resize(small);
    QTRY_COMPARE(frame.size(), small);

    frame.showAutoscale(true);
    QVERIFY(frame.autoscaleLabel->isVisible());
    QVERIFY(frame.autoscaleButton->isVisible());
    QTRY_COMPARE(frame.size(), QSize(800, 600));

    frame.resize(small);
    QTRY_COMPARE(frame.size(), small);
    frame.showAutoscale(true);
    QTRY_COMPARE(frame.size(), QSize(800, 600));

    frame.resize(small);
    QTRY_COMPARE(frame.size(), small);
    frame.showAutoscale(false);
    QVERIFY(!frame.autoscaleButton->isVisible());
    QTest::qWait(20);
    QCOMPARE(frame.size(), small);
}

void tst_Frame::showIdentify()
{
    Frame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.showIdentify(true);
    QVERIFY(frame.identLabel->isVisible());
    QVERIFY(frame.identButton->isVisible());
    QVERIFY(!frame.autoscaleButton->isVisible());
    frame.showIdentify(false);
    QVERIFY(!frame.identLabel->isVisible());
    QVERIFY(!frame.identButton->isVisible());
}

void tst_Frame::showLxiLogo()
{
    const QImage vxi = asArgb(QImage(QStringLiteral(":/vxi-logo.bmp")));
    const QImage lxi = asArgb(QImage(QStringLiteral(":/lxi-logo.bmp")));
    Frame frame;
    const auto shown = [&frame] { return asArgb(frame.busLogoLabel->pixmap().toImage()); };
    frame.showLxiLogo(false);
    QCOMPARE(shown(), vxi);
    frame.showLxiLogo(true);
    QCOMPARE(shown(), lxi);
    frame.showLxiLogo(false);
    QCOMPARE(shown(), lxi);
}

void tst_Frame::identificationLabels_data()
{
    QTest::addColumn<bool>("module");
    QTest::newRow("module label") << true;
    QTest::newRow("card label") << false;
}

void tst_Frame::identificationLabels()
{
    QFETCH(bool, module);
    Frame frame;
    QLabel *label = module ? frame.moduleLabel : frame.fcLabel;
    const auto set = [&frame, module](const QString &text, const QString &help) {
        if (module)
            frame.setModuleLabel(text, help);
        else
            frame.setFcLabel(text, help);
    };
    set(QStringLiteral("Slot 5"), QStringLiteral("first help"));
    QCOMPARE(label->text(), QStringLiteral("Slot 5"));
    QCOMPARE(label->whatsThis(), QStringLiteral("first help"));
    set(QStringLiteral("FC 2"), QString());
    QCOMPARE(label->text(), QStringLiteral("FC 2"));
    QCOMPARE(label->whatsThis(), QStringLiteral("first help"));
    set(QString(), QStringLiteral("second help"));
    QVERIFY(label->text().isEmpty());
    QCOMPARE(label->whatsThis(), QStringLiteral("second help"));
    // The other label is untouched.
    QLabel *other = module ? frame.fcLabel : frame.moduleLabel;
    QVERIFY(other->text().isEmpty());
    QVERIFY(other->whatsThis().isEmpty());

    frame.setHeaderText(QStringLiteral("<html>Tervix 7480<br><font size='2'>2-Channel Filter/Sync FC</font></html>"));
    QCOMPARE(frame.headerLabel->text(),
             QStringLiteral("<html>Tervix 7480<br><font size='2'>2-Channel Filter/Sync FC</font></html>"));
}

void tst_Frame::demoMode()
{
    Frame frame;
    frame.setDemoMode(false);
    QVERIFY(frame.activeLed->isOn());
    QCOMPARE(frame.activeLed->lampColor(), QColor(Qt::green));
    frame.setDemoMode(true);
    QVERIFY(!frame.activeLed->isOn());
    QCOMPARE(frame.activeLed->lampColor(), frame.activeLed->palette().color(QPalette::Window));
}

void tst_Frame::panelLayout()
{
    Frame frame;
    QLayout *frameLayout = frame.layout();
    auto *panelLayout = new QVBoxLayout;
    auto *panel = new QWidget;
    panel->setMinimumSize(500, 420);
    panelLayout->addWidget(panel);
    frame.setPanelLayout(panelLayout);
    QCOMPARE(frame.contentWidget->layout(), panelLayout);
    QCOMPARE(frame.layout(), frameLayout);
    QCOMPARE(panel->parentWidget(), frame.contentWidget);

    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_VERIFY(panel->width() >= 500);
    QVERIFY(panel->height() >= 420);
    QVERIFY(frame.contentWidget->geometry().right() < frame.closeButton->x());
}

void tst_Frame::resetAndHelp()
{
    Frame frame;
    showAndActivate(frame);
    QSignalSpy reset(&frame, &zr6200fp_app::resetPressed);
    zrtest::ModalAnswerer answerer;
    QTest::mouseClick(frame.resetButton, Qt::LeftButton);
    QCOMPARE(reset.count(), 1);
    QTest::qWait(20);
    QVERIFY(answerer.seen().isEmpty());
    QCOMPARE(zrtest::visibleTopLevels(), QList<QWidget *>{&frame});

    QVERIFY(!QWhatsThis::inWhatsThisMode());
    QTest::mouseClick(frame.helpButton, Qt::LeftButton);
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

void tst_Frame::toggles()
{
    Frame frame;
    frame.showAutoscale(true);
    frame.showIdentify(true);
    showAndActivate(frame);
    QSignalSpy autoscale(&frame, &zr6200fp_app::autoscaleToggled);
    QSignalSpy ident(&frame, &zr6200fp_app::identToggled);

    QTest::mouseClick(frame.autoscaleButton, Qt::LeftButton);
    QCOMPARE(frame.autoscaleButton->text(), QStringLiteral("OFF"));
    QTest::mouseClick(frame.autoscaleButton, Qt::LeftButton);
    QCOMPARE(frame.autoscaleButton->text(), QStringLiteral("ON"));
    QCOMPARE(autoscale.count(), 2);
    QCOMPARE(autoscale.at(0).at(0).toBool(), false);
    QCOMPARE(autoscale.at(1).at(0).toBool(), true);

    QTest::mouseClick(frame.identButton, Qt::LeftButton);
    QCOMPARE(frame.identButton->text(), QStringLiteral("ON"));
    QTest::mouseClick(frame.identButton, Qt::LeftButton);
    QCOMPARE(frame.identButton->text(), QStringLiteral("OFF"));
    QCOMPARE(ident.count(), 2);
    QCOMPARE(ident.at(0).at(0).toBool(), true);
    QCOMPARE(ident.at(1).at(0).toBool(), false);
    QCOMPARE(autoscale.count(), 2);

    QVERIFY(frame.autoscaleButton->toolTip() == frame.autoscaleButton->whatsThis());
}

void tst_Frame::acquisition()
{
    Frame frame;
    frame.startButton->show();
    frame.startContButton->show();
    showAndActivate(frame);
    QStringList *log = recordSignals(frame);
    QPushButton *start = frame.startButton;
    QPushButton *cont = frame.startContButton;
    const QImage startImage = asArgb(zr6200fp_icons::startIconImage());
    const QImage contImage = asArgb(zr6200fp_icons::continuousIconImage());
    const QImage stopImage = asArgb(zr6200fp_icons::stopIconImage());
    const auto icon = [](QPushButton *b) { return iconImage(b->icon(), QSize(12, 12)); };
    const auto enabled = [start, cont] { return qMakePair(start->isEnabled(), cont->isEnabled()); };
    using Pair = QPair<bool, bool>;

    // Idle.
    QCOMPARE(enabled(), Pair(true, true));
    QCOMPARE(icon(start), startImage);
    QCOMPARE(icon(cont), contImage);
    QCOMPARE(start->iconSize(), QSize(12, 12));

    // Single shot runs; the continuous button cannot be pressed meanwhile.
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(start->isChecked());
    QCOMPARE(enabled(), Pair(true, false));
    QCOMPARE(icon(start), stopImage);
    QCOMPARE(start->toolTip(), QStringLiteral("Breaks the Single-Shot Data Acquisition"));
    QCOMPARE(start->whatsThis(), QStringLiteral("Breaks the Single-Shot Data Acquisition"));
    QTest::mouseClick(cont, Qt::LeftButton);
    QVERIFY(!cont->isChecked());
    QCOMPARE(*log, QStringList{QStringLiteral("startSingle")});

    // Released: stopping until the owner says it has ended.
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(!start->isChecked());
    QCOMPARE(enabled(), Pair(false, false));
    QCOMPARE(icon(start), startImage);
    QCOMPARE(start->toolTip(), QStringLiteral("Starts the Single-Shot Data Acquisition"));
    QCOMPARE(start->whatsThis(), QStringLiteral("Starts the Single-Shot Data Acquisition"));
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(!start->isChecked());
    QCOMPARE(log->size(), 2);
    QCOMPARE(log->last(), QStringLiteral("breakSingle"));
    frame.enableStart();
    QCOMPARE(enabled(), Pair(true, true));

    // Continuous runs.
    QTest::mouseClick(cont, Qt::LeftButton);
    QVERIFY(cont->isChecked());
    QCOMPARE(enabled(), Pair(false, true));
    QCOMPARE(icon(cont), stopImage);
    QCOMPARE(cont->toolTip(), QStringLiteral("Stops the Data Acquisition process"));
    QCOMPARE(log->last(), QStringLiteral("startCont"));

    // A break from the owner stops it and returns to idle at once.
    frame.userBreak();
    QVERIFY(!cont->isChecked());
    QCOMPARE(enabled(), Pair(true, true));
    QCOMPARE(icon(cont), contImage);
    QCOMPARE(cont->toolTip(), QString::fromLatin1(kStartContHelp));
    QCOMPARE(cont->whatsThis(), QString::fromLatin1(kStartContHelp));
    QCOMPARE(log->last(), QStringLiteral("stopCont"));

    // Released by hand, then enabled by the owner.
    QTest::mouseClick(cont, Qt::LeftButton);
    QTest::mouseClick(cont, Qt::LeftButton);
    QCOMPARE(enabled(), Pair(false, false));
    frame.enableStart();
    QCOMPARE(enabled(), Pair(true, true));

    // A break while idle emits nothing.
    const int before = log->size();
    frame.userBreak();
    QCOMPARE(log->size(), before);
    QCOMPARE(*log,
             (QStringList{QStringLiteral("startSingle"), QStringLiteral("breakSingle"), QStringLiteral("startCont"),
                          QStringLiteral("stopCont"), QStringLiteral("startCont"), QStringLiteral("stopCont")}));
}

void tst_Frame::userBreakOrder()
{
    Frame frame;
    QStringList *log = recordSignals(frame);
    frame.startButton->setChecked(true);
    frame.startContButton->setEnabled(true);
    frame.startContButton->setChecked(true);
    log->clear();
    frame.userBreak();
    QCOMPARE(*log, (QStringList{QStringLiteral("stopCont"), QStringLiteral("breakSingle")}));
    QVERIFY(frame.startButton->isEnabled());
    QVERIFY(frame.startContButton->isEnabled());
}

void tst_Frame::centerWidget_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("pos");
    QTest::newRow("even") << QSize(300, 200) << QPoint(250, 300);
    QTest::newRow("odd") << QSize(301, 201) << QPoint(249, 299);
    QTest::newRow("screen size") << QSize(800, 800) << QPoint(0, 0);
    QTest::newRow("one larger") << QSize(801, 801) << QPoint(0, 0);
    QTest::newRow("three larger, towards zero") << QSize(803, 900) << QPoint(-1, -50);
}

void tst_Frame::centerWidget()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, pos);
    if (QGuiApplication::screens().value(0)->availableGeometry() != QRect(0, 0, 800, 800))
        QSKIP("the rows assume the offscreen screen of 800 x 800");
    QWidget w;
    w.resize(size);
    w.move(17, 23);
    ::centerWidget(&w);
    QCOMPARE(w.pos(), pos);
    QCOMPARE(w.size(), size);
}

void tst_Frame::frameIsCentred()
{
    const QRect available = QGuiApplication::screens().value(0)->availableGeometry();
    Frame frame;
    const QRect g = frame.geometry();
    QCOMPARE(frame.pos(), QPoint((available.width() - g.width()) / 2, (available.height() - g.height()) / 2));
}

void tst_Frame::settingsFolder_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("folder"); // empty: under the user's configuration folder
    QTest::newRow("profile") << true << "/srv/profile"
                             << "/srv/profile/Halvar/zrvisa";
    QTest::newRow("windows-style value kept") << true << "C:\\ProgramData"
                                              << "C:\\ProgramData/Halvar/zrvisa";
    QTest::newRow("trailing separator kept") << true << "/data/"
                                             << "/data//Halvar/zrvisa";
    QTest::newRow("unset") << false << ""
                           << "";
    QTest::newRow("empty counts as unset") << true << ""
                                           << "";
}

void tst_Frame::settingsFolder()
{
    QFETCH(bool, set);
    QFETCH(QString, value);
    QFETCH(QString, folder);
    EnvironmentGuard profile("ALLUSERSPROFILE");
    EnvironmentGuard config("XDG_CONFIG_HOME");
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    if (set)
        qputenv("ALLUSERSPROFILE", value.toLocal8Bit());
    else
        qunsetenv("ALLUSERSPROFILE");
    const QString expected = folder.isEmpty() ? configHome.path() + QStringLiteral("/Halvar/zrvisa") : folder;
    QCOMPARE(zr6200fp_app::settingsFolder(), expected);
}

ZR_TEST_MAIN(tst_Frame)
#include "tst_frame.moc"
