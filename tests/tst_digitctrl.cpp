// The digit control as a user drives it: typed text in a base, stepping,
// the base button, and the question a wrong kind of call brings up.
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

    explicit Window(const QString &kind)
        : ctrl(make(kind, window.get()))
    {
        auto *layout = new QVBoxLayout(window.get());
        layout->addWidget(ctrl);
        layout->addWidget(other);
    }
    bool show()
    {
        window->show();
        window->activateWindow();
        ctrl->setFocus();
        return QTest::qWaitForWindowActive(window.get()) && QTest::qWaitFor([this] { return ctrl->hasFocus(); });
    }
    QLineEdit *editor() const { return ctrl->findChild<QLineEdit *>(); }
    QPushButton *button() const { return editor()->findChild<QPushButton *>(); }
    QString value() const { return kindIsDouble() ? QString::number(ctrl->value(), 'g', 12) : integer(); }
    QString integer() const { return QString::number(ctrl->valueXXL().toLongLong()); }
    bool kindIsDouble() const { return button()->isHidden(); }
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

void tst_DigitCtrl::typedText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("accepted"); // what the field took of the keys
    QTest::addColumn<QString>("ends");     // R: Return, T: Tab
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("returns");
    QTest::addColumn<QString>("locale"); // the C library's and Qt's; empty: the test's own
    const auto row = [](const char *name, const char *kind, int base, const char *keys, const char *accepted,
                        const char *ends, const char *value, const char *shown, int changes, int returns,
                        const char *locale = "") {
        zrtest::row(name, QString::fromUtf8(kind), base, QString::fromUtf8(keys), QString::fromUtf8(accepted),
                    QString::fromUtf8(ends), QString::fromUtf8(value), QString::fromUtf8(shown), changes, returns,
                    QString::fromUtf8(locale));
    };
    const int dec = Fmt::Decimal, udec = Fmt::UnsignedDecimal, hex = Fmt::Hexadecimal, oct = Fmt::Octal;
    const int bin = Fmt::Binary, exp = Fmt::Exponent;
    const char *const de = "de_DE.UTF-8", *const ar = "ar_EG.UTF-8";
    const std::string ones(64, '1');
    row("decimal clamps", "u12", udec, "5000", "5000", "R", "4095", "4095", 1, 1);
    row("4 decimal digits", "u12", udec, "12345", "1234", "R", "1234", "1234", 1, 1);
    row("the same value", "u12", udec, "7", "7", "R", "7", "7", 0, 1);
    row("Tab commits", "u12", udec, "77", "77", "T", "77", "77", 1, 1);
    row("Return ignores empty", "u12", udec, "", "", "R", "7", "", 0, 0);
    row("Tab restores empty", "u12", udec, "", "", "T", "7", "7", 0, 1);
    row("no minus unsigned", "u12", udec, "-5", "-5", "R", "7", "7", 0, 1);
    row("3 hex digits", "u12", hex, "fFa9", "fFa", "R", "4090", "ffa", 1, 1);
    row("hex takes no sign", "u12", hex, "-1", "1", "R", "1", "1", 1, 1);
    row("4 octal digits", "u12", oct, "78777", "7777", "R", "4095", "7777", 1, 1);
    row("12 binary digits", "u12", bin, "1111111111111", "111111111111", "R", "4095", "111111111111", 1, 1);
    row("signed hex wraps", "s8", hex, "80", "80", "R", "-128", "80", 1, 1);
    row("signed binary", "s8", bin, "11111110", "11111110", "R", "-2", "-10", 1, 1);
    row("signed decimal", "s8", dec, "-128", "-128", "R", "-128", "-128", 1, 1);
    row("signed decimal clamps", "s8", dec, "-999", "-999", "R", "-128", "-128", 1, 1);
    row("signed decimal clamps up", "s8", dec, "999", "999", "R", "127", "127", 1, 1);
    row("u64 top", "u64", hex, "ffffffffffffffff", "ffffffffffffffff", "R", "-1", "ffffffffffffffff", 1, 1);
    row("u64 top binary", "u64", bin, ones.c_str(), ones.c_str(), "R", "-1", ones.c_str(), 1, 1);
    row("u64 2^63 decimal", "u64", udec, "9223372036854775808", "9223372036854775808", "R", "-9223372036854775808",
        "9223372036854775808", 1, 1);
    row("DDS keeps what was typed", "dds", exp, "13456789", "13456789", "RT", "13456789", "1.3457e+07", 1, 2);
    row("DDS shown text typed again", "dds", exp, "1.3457e+07", "1.3457e+07", "R", "13457000", "1.3457e+07", 1, 1);
    row("DDS clamps", "dds", exp, "3e7", "3e7", "R", "25000000", "2.5000e+07", 1, 1);
    row("decimal comma: C notation", "dds", exp, "1.3457e+07", "1.3457e+07", "R", "13457000", "1.3457e+07", 1, 1, de);
    row("decimal comma: focus loss", "dds", exp, "1.5e7", "1.5e7", "T", "15000000", "1.5000e+07", 1, 1, de);
    row("decimal comma: no comma", "dds", exp, "1,3", "13", "R", "12500000", "1.2500e+07", 0, 1, de);
    row("C: no comma", "dds", exp, "1,3", "13", "R", "12500000", "1.2500e+07", 0, 1, "C");
    row("ar_EG: point and exponent", "dds", exp, "1.33456789e7", "1.3345e7", "R", "13345000", "1.3345e+07", 1, 1, ar);
    row("ar_EG: focus loss", "dds", exp, "1.5e7", "1.5e7", "T", "15000000", "1.5000e+07", 1, 1, ar);
    row("%e: 6 decimals", "double", exp, "1.345678e+07", "1.345678e+07", "R", "13456780", "1.345678e+07", 1, 1);
    row("%E: 6 decimals", "double", int(Fmt::ExponentUpper), "1.345678E+07", "1.345678E+07", "R", "13456780",
        "1.345678E+07", 1, 1, de);
    row("%f: 6 decimals", "double", int(Fmt::Float), "13456789.123456", "13456789.123456", "T", "13456789.1235",
        "13456789.123456", 1, 1, de);
}

void tst_DigitCtrl::typedText()
{
    QFETCH(QString, kind);
    QFETCH(int, base);
    QFETCH(QString, keys);
    QFETCH(QString, accepted);
    QFETCH(QString, ends);
    QFETCH(QString, locale);
    // Given the control at 7 (a double one at 12.5e6) in base, under locale,
    LocaleGuard guard(locale);
    if (!guard.made)
        QSKIP(qPrintable(locale + QLatin1String(" cannot be made here: scripts/setup.sh test generates it")));
    Window w(kind);
    if (w.kindIsDouble())
        w.ctrl->setValue(12.5e6);
    else
        w.ctrl->setValue(qint64(7));
    w.ctrl->setBase(base);
    QVERIFY(w.show());
    QSignalSpy changedInt(w.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    QSignalSpy changedDouble(w.ctrl, qOverload<double>(&Ctrl::valueChanged));
    QSignalSpy returned(w.ctrl, &Ctrl::returnPressed);
    // when the keys are typed over its text and Return or Tab end them,
    w.editor()->selectAll();
    QTest::keyClicks(w.ctrl, keys.isEmpty() ? QStringLiteral("\b") : keys);
    QCOMPARE(w.editor()->text(), accepted);
    for (QChar end : ends)
        QTest::keyClick(w.ctrl, end == QLatin1Char('R') ? Qt::Key_Return : Qt::Key_Tab);
    // then the value, the text shown and the signals are
    QTEST(w.value(), "value");
    QTEST(w.editor()->text(), "shown");
    QTEST(int(changedInt.count() + changedDouble.count()), "changes");
    QTEST(int(returned.count()), "returns");
    if (!changedInt.isEmpty())
        QCOMPARE(changedInt.last().at(0).toLongLong(), w.ctrl->valueXXL().toLongLong());
    if (!changedDouble.isEmpty())
        QCOMPARE(changedDouble.last().at(0).toDouble(), w.ctrl->value());
}

void tst_DigitCtrl::setInBase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("base");
    QTest::addColumn<qint64>("set");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");
    const auto row = [](const char *name, const char *kind, int base, qint64 set, const char *value, const char *shown,
                        int changes) {
        zrtest::row(name, QString::fromUtf8(kind), base, set, QString::fromUtf8(value), QString::fromUtf8(shown),
                    changes);
    };
    row("decimal clamps", "u12", Fmt::UnsignedDecimal, 5000, "4095", "4095", 1);
    row("hexadecimal wraps", "u12", Fmt::Hexadecimal, 5000, "904", "388", 1);
    row("negative wraps", "u12", Fmt::Octal, -1, "4095", "7777", 1);
    row("u64 decimal -1", "u64", Fmt::UnsignedDecimal, -1, "0", "0", 0);
    row("u64 hexadecimal -1", "u64", Fmt::Hexadecimal, -1, "-1", "ffffffffffffffff", 1);
    row("signed below the minimum", "s8", Fmt::Decimal, -200, "-128", "-128", 1);
}

void tst_DigitCtrl::setInBase()
{
    QFETCH(QString, kind);
    QFETCH(int, base);
    QFETCH(qint64, set);
    Window w(kind);
    w.ctrl->setBase(base);
    QSignalSpy changed(w.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    w.ctrl->setValue(set);
    w.ctrl->setValue(set);
    QTEST(w.integer(), "value");
    QTEST(w.editor()->text(), "shown");
    QTEST(int(changed.count()), "changes");
}

void tst_DigitCtrl::stepping_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("base");
    QTest::addColumn<bool>("wrapping");
    QTest::addColumn<int>("alignBits");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key"); // 0: none
    QTest::addColumn<QString>("value");
    const int udec = Fmt::UnsignedDecimal, dec = Fmt::Decimal, exp = Fmt::Exponent;
    const int up = Qt::Key_Up, down = Qt::Key_Down;
    zrtest::row("Up", "u12", udec, false, 0, "100", up, "101");
    zrtest::row("PageDown is one step", "u12", udec, false, 0, "100", int(Qt::Key_PageDown), "99");
    zrtest::row("Up stops at the maximum", "u12", udec, false, 0, "4095", up, "4095");
    zrtest::row("Down stops at the minimum", "s8", dec, false, 0, "-128", down, "-128");
    zrtest::row("hex Up stops at the maximum", "u12 by 100", int(Fmt::Hexadecimal), false, 0, "4000", up, "4095");
    zrtest::row("signed octal Up stops", "s8 by 100", int(Fmt::Octal), false, 0, "100", up, "127");
    zrtest::row("binary Down stops at the minimum", "u12 by 100", int(Fmt::Binary), false, 0, "50", down, "0");
    zrtest::row("Up wraps to the minimum", "u12", udec, true, 0, "4095", up, "0");
    zrtest::row("Down wraps to the maximum", "s8", dec, true, 0, "-128", down, "127");
    zrtest::row("double PageUp is ten steps", "dds", exp, false, 0, "13000000", int(Qt::Key_PageUp), "23000000");
    zrtest::row("double Up stops at the maximum", "dds", exp, false, 0, "24500000", up, "25000000");
    zrtest::row("double Up wraps", "dds", exp, true, 0, "25000000", up, "12500000");
    zrtest::row("aligned: low bits cleared", "u12", udec, false, 3, "23", 0, "16");
    zrtest::row("aligned: a step is at least 8", "u12", udec, false, 3, "23", up, "24");
    zrtest::row("aligned: a signed value keeps its sign", "s8", dec, false, 62, "-100", 0, "-128");
    zrtest::row("aligned within the range", "u12 from 5", udec, false, 3, "5", 0, "8");
    zrtest::row("no aligned value: the range wins", "u12 from 5", udec, false, 12, "100", 0, "100");
}

void tst_DigitCtrl::stepping()
{
    QFETCH(QString, kind);
    QFETCH(int, base);
    QFETCH(bool, wrapping);
    QFETCH(QString, start);
    QFETCH(int, key);
    // Given the control in base, at start, with wrapping and alignment as set,
    Window w(kind);
    w.ctrl->setWrapping(wrapping);
    w.ctrl->setBase(base);
    if (w.kindIsDouble())
        w.ctrl->setValue(start.toDouble());
    else
        w.ctrl->setValue(start.toLongLong());
    QFETCH(int, alignBits);
    if (alignBits)
        w.ctrl->setAlignmentBits(alignBits);
    QVERIFY(w.show());
    // when the key is pressed, then the value is
    if (key)
        QTest::keyClick(w.ctrl, Qt::Key(key));
    QTEST(w.value(), "value");
}

void tst_DigitCtrl::baseButton()
{
    Window w(QStringLiteral("s8"));
    w.ctrl->setValue(qint64(-1));
    QVERIFY(w.show());
    // Text typed in one base is committed in that base before the switch.
    w.editor()->selectAll();
    QTest::keyClicks(w.ctrl, QStringLiteral("-2"));
    QStringList shown;
    QStringList checked;
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(w.button(), Qt::LeftButton);
        shown << w.button()->text() + QLatin1Char(':') + w.editor()->text();
        const auto actions = w.ctrl->findChild<QMenu *>()->actions();
        for (const QAction *action : actions)
            checked << (action->isChecked() ? action->text() : QString());
    }
    QCOMPARE(shown.join(QLatin1Char(' ')), QStringLiteral("h:fe H:FE o:376 b:-10 d:-2"));
    checked.removeAll(QString());
    QCOMPARE(checked.join(QLatin1Char(',')), QStringLiteral("hexadecimal,hexadecimal upper,octal,binary,decimal"));
}

void tst_DigitCtrl::wrongKind_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<double>("stored");
    // A double stored into an integer control asks before storing and again
    // before clamping into the (empty) double range; it is never shown.
    const QString yes = QStringLiteral("Yes"), no = QStringLiteral("No");
    zrtest::row("No refuses", QStringList{no}, 0.0);
    zrtest::row("Yes, then No to clamping", QStringList{yes, no}, 3.0);
    zrtest::row("Yes, Yes", QStringList{yes, yes}, 0.0);
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
    QCOMPARE(w.integer() + w.editor()->text(), QStringLiteral("77"));
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
