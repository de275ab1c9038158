// The digit control as a user drives it: typed text in a base, stepping,
// the base button (a double control has none: its notation stays), and the
// question a wrong kind of call brings up.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>
#include <clocale>
#include <memory>

#include "digitctrl/zr6200fp_digitCtrl.h"
#include "testsupport.h"

using zrtest::row;

using Ctrl = zr6200fp_digitCtrl;
using Fmt = zr6200fp_digitFormat;

namespace {

// "u12": the clock divider (0..4095, "%d"), "u12 from 5" the same from 5;
// "s8", "u64": whole types; "dds": the DDS frequency (12.5e6..25e6, "%.4e"),
// "double" the same without a precision ("%e"); " by 100": steps of 100.
Ctrl *make(const QString &kind, QWidget *parent)
{
    if (kind.endsWith(QLatin1String(" by 100"))) {
        Ctrl *ctrl = make(kind.chopped(7), parent);
        ctrl->setSingleStep(qint64(100));
        return ctrl;
    }
    if (kind.startsWith(QLatin1String("u12")))
        return new Ctrl(kind.endsWith(QLatin1String("5")) ? 5 : 0, 4095, 1, false, 12, "%d", parent);
    if (kind == QLatin1String("s8")) {
        // The range from the type's own limits.
        auto *ctrl = new Ctrl(0, 0, 1, true, 4, "%d", parent);
        ctrl->setBits(8);
        return ctrl;
    }
    if (kind == QLatin1String("u64"))
        return new Ctrl(0, -1, 1, false, 64, "%u", parent);
    return new Ctrl(12.5e6, 25e6, 1e6, kind == QLatin1String("dds") ? "%.4e" : "%e", parent);
}

// A window with the control and a line edit to take the focus.
struct Window
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    Ctrl *ctrl;
    QLineEdit *other = new QLineEdit(window.get());
    QList<double> emitted; // by valueChanged, of either kind, since shown

    explicit Window(const QString &kind)
        : ctrl(make(kind, window.get()))
    {
        auto *layout = new QVBoxLayout(window.get());
        layout->addWidget(ctrl);
        layout->addWidget(other);
        QObject::connect(ctrl, qOverload<qint64>(&Ctrl::valueChanged), [this](qint64 v) { emitted << double(v); });
        QObject::connect(ctrl, qOverload<double>(&Ctrl::valueChanged), [this](double v) { emitted << v; });
    }
    bool show()
    {
        window->show();
        window->activateWindow();
        ctrl->setFocus();
        emitted.clear();
        return QTest::qWaitForWindowActive(window.get()) && QTest::qWaitFor([this] { return ctrl->hasFocus(); });
    }
    void set(double value) { kindIsDouble() ? ctrl->setValue(value) : ctrl->setValue(qint64(value)); }
    QLineEdit *editor() const { return ctrl->findChild<QLineEdit *>(); }
    QPushButton *button() const { return editor()->findChild<QPushButton *>(); }
    double number() const { return kindIsDouble() ? ctrl->value() : double(ctrl->valueXXL().toLongLong()); }
    bool kindIsDouble() const { return button()->isHidden(); }
};

// What the arrows show: the spin box asks the control.
struct Arrows : QAbstractSpinBox
{
    static StepEnabled of(const QAbstractSpinBox *box) { return (box->*(&Arrows::stepEnabled))(); }
};

// The C library and Qt under a locale, as for a program started with LC_ALL
// set to it, until the guard ends.
struct LocaleGuard
{
    const QByteArray savedC = std::setlocale(LC_ALL, nullptr);
    const QLocale savedQt;
    const bool made;
    explicit LocaleGuard(const QString &name)
        : made(name.isEmpty() || std::setlocale(LC_ALL, qPrintable(name)))
    {
        if (!name.isEmpty())
            QLocale::setDefault(QLocale(name));
    }
    ~LocaleGuard()
    {
        std::setlocale(LC_ALL, savedC.constData());
        QLocale::setDefault(savedQt);
    }
};

} // namespace

class tst_DigitCtrl : public zrtest::Case
{
    Q_OBJECT
private slots:
    void formatChoosesBase_data();
    void formatChoosesBase();
    void typedText_data();
    void typedText();
    void setInBase_data();
    void setInBase();
    void stepping_data();
    void stepping();
    void baseButton();
    void wrongKind_data();
    void wrongKind();
    void baseNotOffered();
};

void tst_DigitCtrl::formatChoosesBase_data()
{
    QTest::addColumn<int>("kind"); // a 12-bit integer control holding 42, or a double one holding 12.5e6
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("shown");
    const int s = Fmt::SignedInteger, u = Fmt::UnsignedInteger, d = Fmt::Double;
    row("%.4e", d, QByteArray("%.4e"), int(Fmt::Exponent), "1.2500e+07");
    row("%d signed", s, QByteArray("%d"), int(Fmt::Decimal), "42");
    row("%d unsigned: the first entry", u, QByteArray("%d"), int(Fmt::UnsignedDecimal), "42");
    row("%X", u, QByteArray("%X"), int(Fmt::HexadecimalUpper), "2A");
    row("%x", s, QByteArray("%x"), int(Fmt::Hexadecimal), "2a");
    row("%8 integer: binary", u, QByteArray("%8"), int(Fmt::Binary), "101010");
    row("%8 double: the first entry", d, QByteArray("%8"), int(Fmt::Float), "12500000.000000");
    row("no '%' signed", s, QByteArray("x"), int(Fmt::Decimal), "42");
    row("no '%' unsigned", u, QByteArray("x"), int(Fmt::UnsignedDecimal), "42");
    row("no '%' double", d, QByteArray("x"), int(Fmt::General), "1.25e+07");
    row("%05d: width, no zeros", s, QByteArray("%05d"), int(Fmt::Decimal), "   42");
    row("%-5d: to the left", s, QByteArray("%-5d"), int(Fmt::Decimal), "42   ");
    row("%+4.3x", u, QByteArray("%+4.3x"), int(Fmt::Hexadecimal), " 02a");
}

void tst_DigitCtrl::formatChoosesBase()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, format);
    const auto ctrl = kind == Fmt::Double
                          ? std::make_unique<Ctrl>(0.0, 1e9, 1.0, format.constData())
                          : std::make_unique<Ctrl>(0, 2047, 1, kind == Fmt::SignedInteger, 12, format.constData());
    kind == Fmt::Double ? ctrl->setValue(12.5e6) : ctrl->setValue(qint64(42));
    QTEST(ctrl->base(), "base");
    QTEST(ctrl->findChild<QLineEdit *>()->text(), "shown");
}

void tst_DigitCtrl::typedText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("accepted"); // what the field took of the keys
    QTest::addColumn<QList<Qt::Key>>("ends");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("returns");
    QTest::addColumn<QString>("locale"); // the C library's and Qt's; empty: the test's own
    const int dec = Fmt::Decimal, udec = Fmt::UnsignedDecimal, hex = Fmt::Hexadecimal, oct = Fmt::Octal;
    const int bin = Fmt::Binary, exp = Fmt::Exponent;
    const QList<Qt::Key> ret{Qt::Key_Return}, tab{Qt::Key_Tab}, both{Qt::Key_Return, Qt::Key_Tab};
    row("decimal clamps", "u12", udec, "5000", "5000", ret, 4095.0, "4095", 1, 1, "");
    row("4 decimal digits", "u12", udec, "12345", "1234", ret, 1234.0, "1234", 1, 1, "");
    row("the same value", "u12", udec, "7", "7", ret, 7.0, "7", 0, 1, "");
    row("Tab commits", "u12", udec, "77", "77", tab, 77.0, "77", 1, 1, "");
    row("Return ignores empty", "u12", udec, "", "", ret, 7.0, "", 0, 0, "");
    row("Tab restores empty", "u12", udec, "", "", tab, 7.0, "7", 0, 1, "");
    row("no minus unsigned", "u12", udec, "-5", "-5", ret, 7.0, "7", 0, 1, "");
    row("3 hex digits", "u12", hex, "fFa9", "fFa", ret, 4090.0, "ffa", 1, 1, "");
    row("hex takes no sign", "u12", hex, "-1", "1", ret, 1.0, "1", 1, 1, "");
    row("4 octal digits", "u12", oct, "78777", "7777", ret, 4095.0, "7777", 1, 1, "");
    row("12 binary digits", "u12", bin, "1111111111111", "111111111111", ret, 4095.0, "111111111111", 1, 1, "");
    row("signed hex wraps", "s8", hex, "80", "80", ret, -128.0, "80", 1, 1, "");
    row("signed binary", "s8", bin, "11111110", "11111110", ret, -2.0, "-10", 1, 1, "");
    row("signed decimal clamps", "s8", dec, "-999", "-999", ret, -128.0, "-128", 1, 1, "");
    row("signed decimal clamps up", "s8", dec, "999", "999", ret, 127.0, "127", 1, 1, "");
    row("u64 top", "u64", hex, "ffffffffffffffff", "ffffffffffffffff", ret, -1.0, "ffffffffffffffff", 1, 1, "");
    row("u64 2^63 decimal", "u64", udec, "9223372036854775808", "9223372036854775808", ret, -0x1p63,
        "9223372036854775808", 1, 1, "");
    row("DDS keeps what was typed", "dds", exp, "13456789", "13456789", both, 13456789.0, "1.3457e+07", 1, 2, "");
    row("DDS clamps", "dds", exp, "3e7", "3e7", ret, 25e6, "2.5000e+07", 1, 1, "");
    const char *const de = "de_DE.UTF-8", *const ar = "ar_EG.UTF-8";
    row("decimal comma: C notation", "dds", exp, "1.3457e+07", "1.3457e+07", ret, 13457e3, "1.3457e+07", 1, 1, de);
    row("decimal comma: focus loss", "dds", exp, "1.5e7", "1.5e7", tab, 15e6, "1.5000e+07", 1, 1, de);
    row("decimal comma: no comma", "dds", exp, "1,3", "13", ret, 12.5e6, "1.2500e+07", 0, 1, de);
    row("C: no comma", "dds", exp, "1,3", "13", ret, 12.5e6, "1.2500e+07", 0, 1, "C");
    row("ar_EG: point and exponent", "dds", exp, "1.33456789e7", "1.3345e7", ret, 13345e3, "1.3345e+07", 1, 1, ar);
    row("ar_EG: focus loss", "dds", exp, "1.5e7", "1.5e7", tab, 15e6, "1.5000e+07", 1, 1, ar);
    row("%e: 6 decimals", "double", exp, "1.345678e+07", "1.345678e+07", ret, 13456780.0, "1.345678e+07", 1, 1, "");
    row("%E: 6 decimals", "double", int(Fmt::ExponentUpper), "1.345678E+07", "1.345678E+07", ret, 13456780.0,
        "1.345678E+07", 1, 1, de);
    row("%g: 6 significant digits", "double", int(Fmt::General), "1.34568e+07", "1.34568e+07", ret, 13456800.0,
        "1.34568e+07", 1, 1, "");
    row("%f: 6 decimals", "double", int(Fmt::Float), "13456789.123456", "13456789.123456", tab, 13456789.123456,
        "13456789.123456", 1, 1, de);
}

void tst_DigitCtrl::typedText()
{
    QFETCH(QString, kind);
    QFETCH(int, base);
    QFETCH(QString, keys);
    QFETCH(QList<Qt::Key>, ends);
    QFETCH(QString, locale);
    // Given the control at 7 (a double one at 12.5e6) in base, under locale,
    LocaleGuard guard(locale);
    if (!guard.made)
        QSKIP(qPrintable(locale + QLatin1String(" cannot be made here: scripts/setup.sh test generates it")));
    Window w(kind);
    w.set(w.kindIsDouble() ? 12.5e6 : 7.0);
    w.ctrl->setBase(base);
    QVERIFY(w.show());
    QSignalSpy returned(w.ctrl, &Ctrl::returnPressed);
    // when the keys are typed over its text and the keys of ends end them,
    w.editor()->selectAll();
    QTest::keyClicks(w.ctrl, keys.isEmpty() ? QStringLiteral("\b") : keys);
    QTEST(w.editor()->text(), "accepted");
    for (Qt::Key end : std::as_const(ends))
        QTest::keyClick(w.ctrl, end);
    // then the value, the text shown and the signals are
    QTEST(w.number(), "value");
    QTEST(w.editor()->text(), "shown");
    QTEST(int(w.emitted.size()), "changes");
    QTEST(int(returned.count()), "returns");
    if (!w.emitted.isEmpty())
        QCOMPARE(w.emitted.last(), w.number());
}

void tst_DigitCtrl::setInBase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("base");
    QTest::addColumn<qint64>("set");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");
    row("decimal clamps", "u12", int(Fmt::UnsignedDecimal), qint64(5000), 4095.0, "4095", 1);
    row("hexadecimal wraps", "u12", int(Fmt::Hexadecimal), qint64(5000), 904.0, "388", 1);
    row("negative wraps", "u12", int(Fmt::Octal), qint64(-1), 4095.0, "7777", 1);
    row("u64 decimal -1", "u64", int(Fmt::UnsignedDecimal), qint64(-1), 0.0, "0", 0);
    row("u64 hexadecimal -1", "u64", int(Fmt::Hexadecimal), qint64(-1), -1.0, "ffffffffffffffff", 1);
    row("signed below the minimum", "s8", int(Fmt::Decimal), qint64(-200), -128.0, "-128", 1);
}

void tst_DigitCtrl::setInBase()
{
    QFETCH(QString, kind);
    QFETCH(int, base);
    QFETCH(qint64, set);
    Window w(kind);
    w.ctrl->setBase(base);
    w.ctrl->setValue(set);
    w.ctrl->setValue(set);
    QTEST(w.number(), "value");
    QTEST(w.editor()->text(), "shown");
    QTEST(int(w.emitted.size()), "changes");
}

void tst_DigitCtrl::stepping_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("base");
    QTest::addColumn<bool>("wrapping");
    QTest::addColumn<int>("alignBits"); // 0: none
    QTest::addColumn<double>("start");
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("upEnabled"); // the arrows afterwards
    QTest::addColumn<bool>("downEnabled");
    QTest::addColumn<int>("changes");
    const int udec = Fmt::UnsignedDecimal, dec = Fmt::Decimal, exp = Fmt::Exponent;
    const QList<Qt::Key> up{Qt::Key_Up}, down{Qt::Key_Down}, none;
    row("PageDown is one step", "u12", udec, false, 0, 100.0, QList{Qt::Key_PageDown}, 99.0, true, true, 1);
    row("Up to the maximum", "u12", udec, false, 0, 4094.0, up, 4095.0, false, true, 1);
    row("Up at the maximum", "u12", udec, false, 0, 4095.0, up, 4095.0, false, true, 0);
    row("Down from the maximum", "u12", udec, false, 0, 4095.0, down, 4094.0, true, true, 1);
    row("Down at the minimum", "s8", dec, false, 0, -128.0, down, -128.0, true, false, 0);
    row("hex Up stops at the top", "u12 by 100", int(Fmt::Hexadecimal), false, 0, 4000.0, up, 4095.0, false, true, 1);
    row("signed octal Up stops", "s8 by 100", int(Fmt::Octal), false, 0, 100.0, up, 127.0, false, true, 1);
    row("binary Down stops at the minimum", "u12 by 100", int(Fmt::Binary), false, 0, 50.0, down, 0.0, true, false, 1);
    row("Up wraps to the minimum", "u12", udec, true, 0, 4095.0, up, 0.0, true, true, 1);
    row("Down wraps to the maximum", "s8", dec, true, 0, -128.0, down, 127.0, true, true, 1);
    row("double PageUp is ten steps", "dds", exp, false, 0, 13e6, QList{Qt::Key_PageUp}, 23e6, true, true, 1);
    row("double Up to the maximum", "dds", exp, false, 0, 24.5e6, up, 25e6, false, true, 1);
    row("double Down at the minimum", "dds", exp, false, 0, 12.5e6, down, 12.5e6, true, false, 0);
    row("double Up wraps", "dds", exp, true, 0, 25e6, up, 12.5e6, true, true, 1);
    row("aligned: low bits cleared", "u12", udec, false, 3, 23.0, none, 16.0, true, true, 0);
    row("aligned: a step is at least 8", "u12", udec, false, 3, 23.0, up, 24.0, true, true, 1);
    row("aligned: a signed value keeps its sign", "s8", dec, false, 62, -100.0, none, -128.0, true, false, 0);
    row("aligned within the range", "u12 from 5", udec, false, 3, 5.0, none, 8.0, true, true, 0);
    row("no aligned value: the range wins", "u12 from 5", udec, false, 12, 100.0, none, 100.0, true, true, 0);
}

void tst_DigitCtrl::stepping()
{
    QFETCH(QString, kind);
    QFETCH(int, base);
    QFETCH(bool, wrapping);
    QFETCH(int, alignBits);
    QFETCH(double, start);
    QFETCH(QList<Qt::Key>, keys);
    // Given the control in base, at start, with wrapping and alignment as set,
    Window w(kind);
    w.ctrl->setWrapping(wrapping);
    w.ctrl->setBase(base);
    w.set(start);
    if (alignBits)
        w.ctrl->setAlignmentBits(alignBits);
    QVERIFY(w.show());
    // when the keys are pressed, then the value, the arrows and the signals are
    for (Qt::Key key : std::as_const(keys))
        QTest::keyClick(w.ctrl, key);
    QTEST(w.number(), "value");
    QTEST(Arrows::of(w.ctrl).testFlag(QAbstractSpinBox::StepUpEnabled), "upEnabled");
    QTEST(Arrows::of(w.ctrl).testFlag(QAbstractSpinBox::StepDownEnabled), "downEnabled");
    QTEST(int(w.emitted.size()), "changes");
}

void tst_DigitCtrl::baseButton()
{
    Window w(QStringLiteral("s8"));
    w.ctrl->setValue(qint64(-1));
    QVERIFY(w.show());
    // Text typed in one base is committed in that base before the switch.
    w.editor()->selectAll();
    QTest::keyClicks(w.ctrl, QStringLiteral("-2"));
    QStringList tags, texts, checked;
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(w.button(), Qt::LeftButton);
        tags << w.button()->text();
        texts << w.editor()->text();
        const auto actions = w.ctrl->findChild<QMenu *>()->actions();
        for (const QAction *action : actions) {
            if (action->isChecked())
                checked << action->text();
        }
    }
    QCOMPARE(tags, QStringList({"h", "H", "o", "b", "d"}));
    QCOMPARE(texts, QStringList({"fe", "FE", "376", "-10", "-2"}));
    QCOMPARE(checked, QStringList({"hexadecimal", "hexadecimal upper", "octal", "binary", "decimal"}));
}

void tst_DigitCtrl::wrongKind_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<double>("stored");
    // A double stored into an integer control asks before storing and again
    // before clamping into the (empty) double range; it is never shown.
    row("No refuses", QStringList{"No"}, 0.0);
    row("Yes, then No to clamping", QStringList{"Yes", "No"}, 3.0);
    row("Yes, Yes", QStringList{"Yes", "Yes"}, 0.0);
}

void tst_DigitCtrl::wrongKind()
{
    QFETCH(QStringList, answers);
    Window w(QStringLiteral("u12"));
    w.ctrl->setValue(qint64(7));
    for (const QString &answer : answers)
        this->answers.click(answer);
    w.ctrl->setValue(3.0);
    QCOMPARE(this->answers.seen,
             QStringList(answers.size(), QStringLiteral("Data type is wrong! Do you really want to continue?")));
    QTEST(w.ctrl->value(), "stored");
    QCOMPARE(w.number(), 7.0);
    QCOMPARE(w.editor()->text(), QStringLiteral("7"));
}

void tst_DigitCtrl::baseNotOffered()
{
    // An integer control has no float notation: it says so and keeps its base.
    Window w(QStringLiteral("s8"));
    w.ctrl->setValue(qint64(-1));
    answers.click(QStringLiteral("No"));
    w.ctrl->setBase(Fmt::Float);
    QCOMPARE(answers.seen, QStringList{QStringLiteral("try missconfigure: non supported new base")});
    QCOMPARE(w.ctrl->base(), int(Fmt::Decimal));
    QCOMPARE(w.editor()->text(), QStringLiteral("-1"));
}

ZR_TEST_MAIN(tst_DigitCtrl)
#include "tst_digitctrl.moc"
