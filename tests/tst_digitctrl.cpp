#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "digitctrl/zr6200fp_digitCtrl.h"
#include "testsupport.h"
#include "zr6200fp_newDoubleValidator.h"
#include "zr6200fp_newlineEdit.h"
#include "zr6200fp_newPushButton.h"

using Ctrl = zr6200fp_digitCtrl;

namespace {

enum class Kind { Signed, Unsigned, Double };

// A window holding one control and a line edit to move the focus to.
struct Fixture
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    Ctrl *ctrl = nullptr;
    QLineEdit *other = nullptr;

    explicit Fixture(std::function<Ctrl *(QWidget *)> make)
    {
        auto *layout = new QVBoxLayout(window.get());
        ctrl = make(window.get());
        other = new QLineEdit(window.get());
        layout->addWidget(ctrl);
        layout->addWidget(other);
    }
    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    zr6200fp_newlineEdit *editor() const { return ctrl->findChild<zr6200fp_newlineEdit *>(); }
    zr6200fp_newPushButton *button() const { return editor()->baseButton; }
    QString text() const { return editor()->text(); }
    QString pattern() const
    {
        return static_cast<const QRegularExpressionValidator *>(editor()->validator())->regularExpression().pattern();
    }
    QList<QAction *> menuActions() const { return button()->menu->actions(); }
    QString checkedEntry() const
    {
        for (QAction *a : menuActions()) {
            if (a->isChecked())
                return a->text();
        }
        return QString();
    }
    void type(const QString &keys)
    {
        ctrl->slotClear(0);
        QTest::keyClicks(ctrl, keys);
    }
};

Ctrl *divider(QWidget *parent, const char *format = "%d")
{
    return new Ctrl(0, 4095, 1, false, 12, format, parent);
}

Ctrl *make(Kind kind, int bits, const char *format, QWidget *parent)
{
    switch (kind) {
    case Kind::Signed:
        return new Ctrl(zr6200fp_digitFormat::typeMinimum(bits, true).toLongLong(),
                        zr6200fp_digitFormat::typeMaximum(bits, true).toLongLong(), 1, true, bits, format, parent);
    case Kind::Unsigned:
        return new Ctrl(0, -1, 1, false, bits, format, parent);
    case Kind::Double:
        break;
    }
    return new Ctrl(-1e300, 1e300, 1.0, format, parent);
}

qint64 spyValue(const QSignalSpy &spy, int i)
{
    return spy.at(i).at(0).toLongLong();
}

} // namespace

class tst_DigitCtrl : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void parseFormat_data();
    void parseFormat();
    void setFormat_data();
    void setFormat();
    void patterns_data();
    void patterns();
    void typedDigits_data();
    void typedDigits();
    void clampOrWrap();
    void returnInEmptyField_data();
    void returnInEmptyField();
    void tabOutCommits_data();
    void tabOutCommits();
    void stepping_data();
    void stepping();
    void wrappingAndLimits();
    void alignment();
    void signed8Bit_data();
    void signed8Bit();
    void unsigned64WholeRange();
    void exponentNotation();
    void baseButtonCycle_data();
    void baseButtonCycle();
    void contextMenu();
    void typedTextCommittedInOldBase();
    void slotClearKeepsValue();
    void changeSignals();
    void rangeChanges();
    void kindCheck_data();
    void kindCheck();
    void unsupportedBase_data();
    void unsupportedBase();
    void sizeAndButtonPlacement();
    void buildingBlocks();
};

void tst_DigitCtrl::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_DigitCtrl::parseFormat_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("isInteger");
    QTest::addColumn<int>("flag");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("conversion");
    QTest::newRow("%.4e") << QByteArray("%.4e") << false << 0 << -1 << 4 << int('e');
    QTest::newRow("%+5.2x") << QByteArray("%+5.2x") << true << int('+') << 5 << 2 << int('x');
    QTest::newRow("% 3d") << QByteArray("% 3d") << true << int(' ') << 3 << -1 << int('d');
    QTest::newRow("%05d loses the zero") << QByteArray("%05d") << true << 0 << 5 << -1 << int('d');
    QTest::newRow("%-5d left aligned") << QByteArray("%-5d") << true << 0 << -5 << -1 << int('d');
    QTest::newRow("%8 ends early") << QByteArray("%8") << true << 0 << 8 << -1 << 0;
    QTest::newRow("%. ends at the dot") << QByteArray("%.") << true << 0 << -1 << -1 << 0;
    QTest::newRow("%.x no precision") << QByteArray("%.x") << true << 0 << -1 << -1 << int('x');
    QTest::newRow("% \\t7u blanks skipped") << QByteArray("% \t7u") << true << int(' ') << 7 << -1 << int('u');
    QTest::newRow("%--5d") << QByteArray("%--5d") << true << 0 << -1 << -1 << int('-');
    QTest::newRow("no percent, integer") << QByteArray("abc") << true << 0 << -1 << -1 << int('d');
    QTest::newRow("no percent, double") << QByteArray("") << false << 0 << -1 << -1 << int('g');
    // Numbers saturate instead of overflowing; a negative precision is none.
    QTest::newRow("huge width") << QByteArray("%99999999999999999999d") << true << 0 << 255 << -1 << int('d');
    QTest::newRow("huge negative width") << QByteArray("%-99999999999d") << true << 0 << -255 << -1 << int('d');
    QTest::newRow("negative precision") << QByteArray("%.-3d") << true << 0 << -1 << -1 << int('d');
    QTest::newRow("300 characters") << "%" + QByteArray(298, '7') + "x" << true << 0 << 255 << -1 << int('x');
}

void tst_DigitCtrl::parseFormat()
{
    QFETCH(QByteArray, format);
    QFETCH(bool, isInteger);
    QFETCH(int, flag);
    QFETCH(int, width);
    QFETCH(int, precision);
    QFETCH(int, conversion);
    const zr6200fp_digitFormat::FormatSpec parsed = zr6200fp_digitFormat::parse(format.constData(), isInteger, 0);
    QCOMPARE(int(parsed.flag), flag);
    QCOMPARE(parsed.width, width);
    QCOMPARE(parsed.precision, precision);
    QCOMPARE(int(parsed.conversion), conversion);
}

void tst_DigitCtrl::setFormat_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("base");
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QString>("text42");
    auto row = [](const char *name, Kind kind, const QByteArray &format, int base, const char *built,
                  const char *text) {
        QTest::newRow(name) << int(kind) << format << base << QByteArray(built) << text;
    };
    row("%d unsigned falls back", Kind::Unsigned, "%d", zr6200fp_digitFormat::UnsignedDecimal, "%llu", "42");
    row("%u unsigned", Kind::Unsigned, "%u", zr6200fp_digitFormat::UnsignedDecimal, "%llu", "42");
    row("%d signed", Kind::Signed, "%d", zr6200fp_digitFormat::Decimal, "%lld", "42");
    row("%u signed falls back", Kind::Signed, "%u", zr6200fp_digitFormat::Decimal, "%lld", "42");
    row("%8 integer is binary", Kind::Signed, "%8", zr6200fp_digitFormat::Binary, "", "101010");
    row("%8 double is float", Kind::Double, "%8", zr6200fp_digitFormat::Float, "%8f", "42.000000");
    row("%x", Kind::Unsigned, "%x", zr6200fp_digitFormat::Hexadecimal, "%llx", "2a");
    row("%X", Kind::Signed, "%X", zr6200fp_digitFormat::HexadecimalUpper, "%llX", "2A");
    row("%o", Kind::Unsigned, "%o", zr6200fp_digitFormat::Octal, "%llo", "52");
    row("%05d", Kind::Signed, "%05d", zr6200fp_digitFormat::Decimal, "%5lld", "   42");
    row("%-5d", Kind::Signed, "%-5d", zr6200fp_digitFormat::Decimal, "%-5lld", "42   ");
    row("%+5.2x", Kind::Unsigned, "%+5.2x", zr6200fp_digitFormat::Hexadecimal, "%+5.2llx", "   2a");
    row("% d", Kind::Signed, "% d", zr6200fp_digitFormat::Decimal, "% lld", " 42");
    row("no percent signed", Kind::Signed, "d", zr6200fp_digitFormat::Decimal, "%lld", "42");
    row("no percent unsigned", Kind::Unsigned, "x", zr6200fp_digitFormat::UnsignedDecimal, "%llu", "42");
    row("no percent double", Kind::Double, "f", zr6200fp_digitFormat::General, "%g", "42");
    row("%.4e", Kind::Double, "%.4e", zr6200fp_digitFormat::Exponent, "%.4e", "4.2000e+01");
    row("%E", Kind::Double, "%E", zr6200fp_digitFormat::ExponentUpper, "%E", "4.200000E+01");
    row("%x on a double falls back", Kind::Double, "%x", zr6200fp_digitFormat::Float, "%f", "42.000000");
    row("%e on an integer falls back", Kind::Signed, "%e", zr6200fp_digitFormat::Decimal, "%lld", "42");
    row("300 characters", Kind::Signed, "%" + QByteArray(298, '1') + "d", zr6200fp_digitFormat::Decimal, "%255lld",
        QString(253, QLatin1Char(' ')).toLatin1() + "42");
    row("negative precision", Kind::Double, "%.-3f", zr6200fp_digitFormat::Float, "%f", "42.000000");
    row("empty", Kind::Double, "", zr6200fp_digitFormat::General, "%g", "42");
}

void tst_DigitCtrl::setFormat()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, format);
    QFETCH(int, base);
    QFETCH(QByteArray, built);
    QFETCH(QString, text42);
    // Through the constructor and through setFormat on a control made with
    // another format.
    for (const bool later : {false, true}) {
        Fixture f([&](QWidget *p) { return make(Kind(kind), 16, later ? "%o" : format.constData(), p); });
        if (later)
            f.ctrl->setFormat(format.constData());
        if (Kind(kind) == Kind::Double)
            f.ctrl->setValue(42.0);
        else
            f.ctrl->setValue(qint64(42));
        QCOMPARE(f.ctrl->base(), base);
        QCOMPARE(f.ctrl->formatString(), built);
        QCOMPARE(f.text(), text42);
        QCOMPARE(f.button()->text(), QLatin1String(zr6200fp_digitFormat::baseTable[size_t(base)].tag));
    }
}

void tst_DigitCtrl::patterns_data()
{
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("u12 decimal") << false << 12 << QByteArray("%u") << "[+-]?[0-9]{1,4}";
    QTest::newRow("u12 hex") << false << 12 << QByteArray("%x") << "[0-9a-fA-F]{1,3}";
    QTest::newRow("u12 octal") << false << 12 << QByteArray("%o") << "[0-7]{1,4}";
    QTest::newRow("u12 binary") << false << 12 << QByteArray("%") << "[0-1]{1,12}";
    QTest::newRow("s8 decimal") << true << 8 << QByteArray("%d") << "[+-]?[0-9]{1,3}";
    QTest::newRow("s8 hex") << true << 8 << QByteArray("%X") << "[0-9a-fA-F]{1,2}";
    QTest::newRow("s8 octal") << true << 8 << QByteArray("%o") << "[0-7]{1,3}";
    QTest::newRow("s8 binary") << true << 8 << QByteArray("%") << "[0-1]{1,8}";
    QTest::newRow("s64 binary") << true << 64 << QByteArray("%") << "[0-1]{1,64}";
    QTest::newRow("s64 decimal") << true << 64 << QByteArray("%d") << "[+-]?[0-9]{1,19}";
    QTest::newRow("u64 decimal") << false << 64 << QByteArray("%u") << "[+-]?[0-9]{1,20}";
    QTest::newRow("u64 octal") << false << 64 << QByteArray("%o") << "[0-7]{1,22}";
    QTest::newRow("u1 decimal") << false << 1 << QByteArray("%u") << "[+-]?[0-9]{1,1}";
    QTest::newRow("precision limits digits") << false << 12 << QByteArray("%.2x") << "[0-9a-fA-F]{1,2}";
    QTest::newRow("precision 0 keeps the type's") << false << 12 << QByteArray("%.0x") << "[0-9a-fA-F]{1,3}";
}

void tst_DigitCtrl::patterns()
{
    QFETCH(bool, isSigned);
    QFETCH(int, bits);
    QFETCH(QByteArray, format);
    QFETCH(QString, pattern);
    Fixture f([&](QWidget *p) { return make(isSigned ? Kind::Signed : Kind::Unsigned, bits, format.constData(), p); });
    QCOMPARE(f.pattern(), pattern);
    QVERIFY(QRegularExpression(pattern).isValid());
}

void tst_DigitCtrl::typedDigits_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("4 decimal digits") << QByteArray("%u") << "12345"
                                      << "1234";
    QTest::newRow("decimal takes a sign") << QByteArray("%u") << "+12"
                                          << "+12";
    QTest::newRow("decimal refuses letters") << QByteArray("%u") << "1a2"
                                             << "12";
    QTest::newRow("3 hex digits") << QByteArray("%x") << "fFa9"
                                  << "fFa";
    QTest::newRow("hex refuses a sign") << QByteArray("%x") << "-g1"
                                        << "1";
    QTest::newRow("4 octal digits") << QByteArray("%o") << "78777"
                                    << "7777";
    QTest::newRow("12 binary digits") << QByteArray("%") << "1012111111111111"
                                      << "101111111111";
}

void tst_DigitCtrl::typedDigits()
{
    QFETCH(QByteArray, format);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    Fixture f([&](QWidget *p) { return divider(p, format.constData()); });
    QVERIFY(f.show());
    f.type(keys);
    QCOMPARE(f.text(), shown);
}

void tst_DigitCtrl::clampOrWrap()
{
    Fixture f([](QWidget *p) { return divider(p); });
    f.ctrl->setValue(qint64(4));
    QVERIFY(f.show());
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    QSignalSpy returned(f.ctrl, &Ctrl::returnPressed);

    // Decimal: clamped.
    f.type(QStringLiteral("5000"));
    QCOMPARE(f.text(), QStringLiteral("5000"));
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4095));
    QCOMPARE(f.text(), QStringLiteral("4095"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(spyValue(changed, 0), qint64(4095));
    QCOMPARE(returned.count(), 1);
    // Clamped again to the same value: nothing to report.
    f.type(QStringLiteral("9999"));
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(f.text(), QStringLiteral("4095"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(returned.count(), 2);

    // Hexadecimal: wrapped around 12 bits.
    f.ctrl->setBase(zr6200fp_digitFormat::Hexadecimal);
    f.ctrl->setValue(qint64(5000));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(904));
    QCOMPARE(f.text(), QStringLiteral("388"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(spyValue(changed, 1), qint64(904));
    f.ctrl->setValue(qint64(5000));
    QCOMPARE(changed.count(), 2);
    // A negative number wraps too.
    f.ctrl->setValue(qint64(-1));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4095));
    QCOMPARE(f.text(), QStringLiteral("fff"));
}

void tst_DigitCtrl::returnInEmptyField_data()
{
    QTest::addColumn<bool>("isDouble");
    QTest::addColumn<int>("returnSignals");
    QTest::addColumn<QString>("afterReturn");
    QTest::newRow("integer ignores Return") << false << 0 << "";
    QTest::newRow("double shows the value again") << true << 1 << "7.000";
}

void tst_DigitCtrl::returnInEmptyField()
{
    QFETCH(bool, isDouble);
    QFETCH(int, returnSignals);
    QFETCH(QString, afterReturn);
    Fixture f([&](QWidget *p) { return isDouble ? new Ctrl(0.0, 10.0, 1.0, "%3.3f", p) : divider(p); });
    if (isDouble)
        f.ctrl->setValue(7.0);
    else
        f.ctrl->setValue(qint64(7));
    QVERIFY(f.show());
    QSignalSpy returned(f.ctrl, &Ctrl::returnPressed);
    QSignalSpy changedInt(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    QSignalSpy changedDouble(f.ctrl, qOverload<double>(&Ctrl::valueChanged));
    f.ctrl->slotClear(0);
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(returned.count(), returnSignals);
    QCOMPARE(f.text(), afterReturn);
    // A lone sign is no number either.
    f.type(QStringLiteral("-"));
    QTest::keyClick(f.ctrl, Qt::Key_Enter);
    QCOMPARE(returned.count(), 2 * returnSignals);
    QCOMPARE(f.text(), isDouble ? afterReturn : QStringLiteral("-"));
    QCOMPARE(changedInt.count(), 0);
    QCOMPARE(changedDouble.count(), 0);
    QCOMPARE(f.ctrl->value(), isDouble ? 7.0 : 0.0);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), isDouble ? qint64(0) : qint64(7));
}

void tst_DigitCtrl::tabOutCommits_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");
    QTest::newRow("empty field restored") << ""
                                          << "7" << 0;
    QTest::newRow("lone sign restored") << "+"
                                        << "7" << 0;
    QTest::newRow("typed number committed") << "77"
                                            << "77" << 1;
    QTest::newRow("unsigned decimal refuses a minus") << "-5"
                                                      << "7" << 0;
}

void tst_DigitCtrl::tabOutCommits()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, changes);
    Fixture f([](QWidget *p) { return divider(p); });
    f.ctrl->setValue(qint64(7));
    QVERIFY(f.show());
    f.ctrl->setFocus();
    QTRY_VERIFY(f.ctrl->hasFocus());
    QSignalSpy returned(f.ctrl, &Ctrl::returnPressed);
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.type(keys);
    QCOMPARE(f.text(), keys);
    QTest::keyClick(f.ctrl, Qt::Key_Tab);
    QTRY_VERIFY(f.other->hasFocus());
    QCOMPARE(f.text(), shown);
    QCOMPARE(returned.count(), 1);
    QCOMPARE(changed.count(), changes);
    QCOMPARE(QString::number(f.ctrl->valueXXL().toLongLong()), shown);
}

void tst_DigitCtrl::stepping_data()
{
    QTest::addColumn<bool>("isDouble");
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("expected");
    // Integer control 0..4095 with step 3 at 100; double control -1000..1000
    // with step 0.5 at 100.
    QTest::newRow("integer Up") << false << int(Qt::Key_Up) << 103.0;
    QTest::newRow("integer Down") << false << int(Qt::Key_Down) << 97.0;
    QTest::newRow("integer PageUp is one step") << false << int(Qt::Key_PageUp) << 103.0;
    QTest::newRow("integer PageDown is one step") << false << int(Qt::Key_PageDown) << 97.0;
    QTest::newRow("integer wheel up") << false << -1 << 103.0;
    QTest::newRow("integer wheel down three notches") << false << -2 << 97.0;
    QTest::newRow("double Up") << true << int(Qt::Key_Up) << 100.5;
    QTest::newRow("double PageUp is ten steps") << true << int(Qt::Key_PageUp) << 105.0;
    QTest::newRow("double PageDown is ten steps") << true << int(Qt::Key_PageDown) << 95.0;
    QTest::newRow("double wheel down three notches") << true << -2 << 98.5;
}

void tst_DigitCtrl::stepping()
{
    QFETCH(bool, isDouble);
    QFETCH(int, key);
    QFETCH(double, expected);
    Fixture f([&](QWidget *p) {
        return isDouble ? new Ctrl(-1000.0, 1000.0, 0.5, "%g", p) : new Ctrl(0, 4095, 3, false, 12, "%u", p);
    });
    if (isDouble)
        f.ctrl->setValue(100.0);
    else
        f.ctrl->setValue(qint64(100));
    QVERIFY(f.show());
    QSignalSpy changedInt(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    QSignalSpy changedDouble(f.ctrl, qOverload<double>(&Ctrl::valueChanged));
    if (key < 0) {
        const int delta = key == -1 ? 120 : -360;
        const QPointF at = f.ctrl->rect().center();
        QWheelEvent wheel(at, f.ctrl->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.ctrl, &wheel);
    } else {
        QTest::keyClick(f.ctrl, Qt::Key(key));
    }
    if (isDouble) {
        QCOMPARE(f.ctrl->value(), expected);
        QCOMPARE(changedDouble.count(), 1);
    } else {
        QCOMPARE(double(f.ctrl->valueXXL().toLongLong()), expected);
        QCOMPARE(changedInt.count(), 1);
        QCOMPARE(f.text(), QString::number(expected));
    }
}

void tst_DigitCtrl::wrappingAndLimits()
{
    Fixture f([](QWidget *p) { return divider(p); });
    QVERIFY(f.show());
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.ctrl->setValue(qint64(4095));
    QCOMPARE(changed.count(), 1);
    // Up is disabled at the maximum.
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4095));
    QCOMPARE(changed.count(), 1);
    QTest::keyClick(f.ctrl, Qt::Key_Down);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4094));
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4095));
    // Typed text is committed before a step.
    f.ctrl->setValue(qint64(100));
    f.type(QStringLiteral("10"));
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(11));
    QCOMPARE(f.text(), QStringLiteral("11"));
    // With wrapping, past either end gives the other end.
    f.ctrl->setWrapping(true);
    f.ctrl->setValue(qint64(4095));
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(0));
    QTest::keyClick(f.ctrl, Qt::Key_Down);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4095));
    // Read-only: no steps.
    f.ctrl->setReadOnly(true);
    f.ctrl->setValue(qint64(50));
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(50));

    // A double control wraps the same way.
    Fixture d([](QWidget *p) { return new Ctrl(0.0, 10.0, 4.0, "%g", p); });
    QVERIFY(d.show());
    d.ctrl->setWrapping(true);
    d.ctrl->setValue(8.0);
    QTest::keyClick(d.ctrl, Qt::Key_Up);
    QCOMPARE(d.ctrl->value(), 0.0);
    QTest::keyClick(d.ctrl, Qt::Key_Down);
    QCOMPARE(d.ctrl->value(), 10.0);
}

void tst_DigitCtrl::alignment()
{
    Fixture f([](QWidget *p) { return new Ctrl(0, 1000, 1, false, 16, "%u", p); });
    f.ctrl->setValue(qint64(23));
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.ctrl->setAlignmentBits(3);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(16));
    QCOMPARE(changed.count(), 1);
    // A step smaller than the alignment moves by the alignment.
    QVERIFY(f.show());
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(24));
    f.ctrl->setSingleStep(qint64(20));
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(40));
    f.ctrl->setStepDown(qint64(1));
    QTest::keyClick(f.ctrl, Qt::Key_Down);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(32));
    // Out-of-range alignments are limited to 0..62.
    f.ctrl->setAlignmentBits(-4);
    f.ctrl->setValue(qint64(5));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(5));
    f.ctrl->setAlignmentBits(200);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(0));

    // Aligned after clamping: the value may end below the minimum...
    Fixture r([](QWidget *p) { return new Ctrl(5, 100, 1, false, 8, "%u", p); });
    r.ctrl->setAlignmentBits(3);
    QCOMPARE(r.ctrl->valueXXL().toLongLong(), qint64(0));
    // ...but never outside a signed type, whose minimum is -2^(bits-1).
    Fixture s([](QWidget *p) { return new Ctrl(-1024, 1023, 1, true, 11, "%d", p); });
    s.ctrl->setValue(qint64(-1000));
    s.ctrl->setAlignmentBits(62);
    QCOMPARE(s.ctrl->valueXXL().toLongLong(), qint64(-1024));
    s.ctrl->setBase(zr6200fp_digitFormat::Hexadecimal);
    QCOMPARE(s.text(), QStringLiteral("400"));
    QVERIFY(s.show());
    QTest::keyClick(s.ctrl, Qt::Key_Return);
    QCOMPARE(s.ctrl->valueXXL().toLongLong(), qint64(-1024));
}

void tst_DigitCtrl::signed8Bit_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("minusOne");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("stored");
    QTest::newRow("decimal") << int(zr6200fp_digitFormat::Decimal) << "-1"
                             << "-128" << qint64(-128);
    QTest::newRow("hexadecimal") << int(zr6200fp_digitFormat::Hexadecimal) << "ff"
                                 << "80" << qint64(-128);
    QTest::newRow("hexadecimal upper") << int(zr6200fp_digitFormat::HexadecimalUpper) << "FF"
                                       << "7f" << qint64(127);
    QTest::newRow("octal") << int(zr6200fp_digitFormat::Octal) << "377"
                           << "200" << qint64(-128);
    QTest::newRow("binary") << int(zr6200fp_digitFormat::Binary) << "-1"
                            << "11111110" << qint64(-2);
}

void tst_DigitCtrl::signed8Bit()
{
    QFETCH(int, base);
    QFETCH(QString, minusOne);
    QFETCH(QString, typed);
    QFETCH(qint64, stored);
    Fixture f([](QWidget *p) { return new Ctrl(-128, 127, 1, true, 8, "%d", p); });
    QVERIFY(f.show());
    f.ctrl->setBase(base);
    f.ctrl->setValue(qint64(-1));
    QCOMPARE(f.text(), minusOne);
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.type(typed);
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), stored);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(spyValue(changed, 0), stored);
    // The shown text reads back as the same value.
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), stored);
    QCOMPARE(changed.count(), 1);
}

void tst_DigitCtrl::unsigned64WholeRange()
{
    Fixture f([](QWidget *p) { return new Ctrl(0, -1, 1, false, 64, "%u", p); });
    QVERIFY(f.show());
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.ctrl->setValue(qint64(5));
    f.ctrl->setValue(qint64(-1));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(0));
    QCOMPARE(f.text(), QStringLiteral("0"));

    f.ctrl->setBase(zr6200fp_digitFormat::Hexadecimal);
    f.ctrl->setValue(qint64(-1));
    QCOMPARE(f.text(), QStringLiteral("ffffffffffffffff"));
    QVERIFY(f.ctrl->valueXXL() > intXXL(0));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(spyValue(changed, 2), qint64(-1));
    // At the top of the type Up is disabled, Down works.
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(changed.count(), 3);
    QTest::keyClick(f.ctrl, Qt::Key_Down);
    QCOMPARE(f.text(), QStringLiteral("fffffffffffffffe"));

    // Back in unsigned decimal the value shows in full, and typing the
    // largest value keeps it (it is not taken as -1 and clamped to 0).
    f.ctrl->setBase(zr6200fp_digitFormat::UnsignedDecimal);
    QCOMPARE(f.text(), QStringLiteral("18446744073709551614"));
    f.type(QStringLiteral("18446744073709551615"));
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(f.text(), QStringLiteral("18446744073709551615"));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(-1));
    QVERIFY(f.ctrl->valueXXL() > intXXL(0));
    // More than 64 bits does not convert: the value stays.
    f.type(QStringLiteral("18446744073709551616"));
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(f.text(), QStringLiteral("18446744073709551615"));
}

void tst_DigitCtrl::exponentNotation()
{
    Fixture f([](QWidget *p) { return new Ctrl(12.5e6, 25e6, 1.0, "%.4e", p); });
    QVERIFY(f.show());
    QCOMPARE(f.text(), QStringLiteral("1.2500e+07"));
    QCOMPARE(f.ctrl->base(), int(zr6200fp_digitFormat::Exponent));
    QVERIFY(f.button()->isHidden());
    QSignalSpy changed(f.ctrl, qOverload<double>(&Ctrl::valueChanged));
    QSignalSpy returned(f.ctrl, &Ctrl::returnPressed);
    // Four decimals are more than the validator's three: Return does not
    // commit the shown text.
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(returned.count(), 0);
    QCOMPARE(f.text(), QStringLiteral("1.2500e+07"));
    // Once the text is valid, a fourth decimal is refused.
    QTest::keyClick(f.ctrl, Qt::Key_Home);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(f.ctrl, Qt::Key_Right);
    QTest::keyClick(f.ctrl, Qt::Key_Backspace);
    QTest::keyClick(f.ctrl, Qt::Key_Backspace);
    QCOMPARE(f.text(), QStringLiteral("1.25e+07"));
    QTest::keyClick(f.ctrl, Qt::Key_3);
    QCOMPARE(f.text(), QStringLiteral("1.253e+07"));
    QTest::keyClick(f.ctrl, Qt::Key_1);
    QCOMPARE(f.text(), QStringLiteral("1.253e+07"));
    QTest::keyClick(f.ctrl, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
    QCOMPARE(f.ctrl->value(), 12.53e6);
    QCOMPARE(f.text(), QStringLiteral("1.2530e+07"));
    QCOMPARE(changed.count(), 1);
    // Out of range: clamped.
    f.ctrl->setValue(3e7);
    QCOMPARE(f.text(), QStringLiteral("2.5000e+07"));
    QCOMPARE(changed.count(), 2);
}

void tst_DigitCtrl::baseButtonCycle_data()
{
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("signed") << true << QStringList{"hexadecimal", "hexadecimal upper", "octal",
                                                   "binary",      "decimal",           "hexadecimal"}
                            << QStringList{"h", "H", "o", "b", "d", "h"}
                            << QStringList{"fe", "FE", "376", "-10", "-2", "fe"};
    QTest::newRow("unsigned") << false
                              << QStringList{"hexadecimal", "hexadecimal upper", "octal", "binary", "unsigned decimal"}
                              << QStringList{"h", "H", "o", "b", "d"}
                              << QStringList{"fe", "FE", "376", "11111110", "254"};
}

void tst_DigitCtrl::baseButtonCycle()
{
    QFETCH(bool, isSigned);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, tags);
    QFETCH(QStringList, texts);
    Fixture f([&](QWidget *p) { return new Ctrl(-128, 255, 1, isSigned, 8, "%d", p); });
    f.ctrl->setValue(qint64(isSigned ? -2 : 254));
    QVERIFY(f.show());
    QCOMPARE(f.button()->text(), QStringLiteral("d"));
    QCOMPARE(f.checkedEntry(), QString());
    QCOMPARE(f.menuActions().size(), 5);
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    for (int i = 0; i < entries.size(); ++i) {
        QTest::mouseClick(f.button(), Qt::LeftButton);
        QCOMPARE(f.checkedEntry(), entries.at(i));
        QCOMPARE(f.button()->text(), tags.at(i));
        QCOMPARE(f.text(), texts.at(i));
    }
    // The button takes no focus and changing the base does not change the value.
    QVERIFY(!f.button()->hasFocus());
    QCOMPARE(changed.count(), 0);
}

void tst_DigitCtrl::contextMenu()
{
    Fixture f([](QWidget *p) { return divider(p); });
    f.ctrl->setValue(qint64(8));
    QVERIFY(f.show());
    QSignalSpy clicked(f.button(), &QPushButton::clicked);
    // Right clicks through the window, as the platform delivers them.
    auto rightClick = [&f] {
        const QPoint at = f.button()->mapTo(f.window.get(), f.button()->rect().center());
        QTest::mouseClick(f.window->windowHandle(), Qt::RightButton, {}, at);
    };
    QStringList seenEntries;
    QString checkedInMenu;
    auto choose = [&](const QString &entry) {
        QTimer::singleShot(0, this, [&, entry] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            seenEntries.clear();
            checkedInMenu.clear();
            for (QAction *a : menu->actions()) {
                seenEntries << a->text();
                if (a->isChecked())
                    checkedInMenu = a->text();
            }
            for (QAction *a : menu->actions()) {
                if (a->text() == entry)
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            }
            if (menu->isVisible())
                menu->close();
        });
    };
    choose(QStringLiteral("octal"));
    rightClick();
    QCOMPARE(seenEntries, QStringList({"unsigned decimal", "hexadecimal", "hexadecimal upper", "octal", "binary"}));
    QCOMPARE(checkedInMenu, QString());
    QCOMPARE(f.ctrl->base(), int(zr6200fp_digitFormat::Octal));
    QCOMPARE(f.text(), QStringLiteral("10"));
    QCOMPARE(f.button()->text(), QStringLiteral("o"));
    QCOMPARE(clicked.count(), 0);

    choose(QStringLiteral("binary"));
    rightClick();
    QCOMPARE(checkedInMenu, QStringLiteral("octal"));
    QCOMPARE(f.ctrl->base(), int(zr6200fp_digitFormat::Binary));
    QCOMPARE(f.text(), QStringLiteral("1000"));
    QCOMPARE(f.checkedEntry(), QStringLiteral("binary"));
    // Closing the menu without a choice changes nothing.
    choose(QString());
    rightClick();
    QCOMPARE(f.ctrl->base(), int(zr6200fp_digitFormat::Binary));
    QCOMPARE(clicked.count(), 0);
    // The next left click continues from the current base.
    QTest::mouseClick(f.button(), Qt::LeftButton);
    QCOMPARE(f.ctrl->base(), int(zr6200fp_digitFormat::UnsignedDecimal));
    QCOMPARE(clicked.count(), 1);
}

void tst_DigitCtrl::typedTextCommittedInOldBase()
{
    Fixture f([](QWidget *p) { return divider(p); });
    QVERIFY(f.show());
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.type(QStringLiteral("17"));
    QTest::mouseClick(f.button(), Qt::LeftButton);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(17));
    QCOMPARE(f.text(), QStringLiteral("11"));
    QCOMPARE(changed.count(), 1);
}

void tst_DigitCtrl::slotClearKeepsValue()
{
    Fixture f([](QWidget *p) { return divider(p); });
    f.ctrl->setValue(qint64(4));
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    f.ctrl->slotClear(12345);
    QCOMPARE(f.text(), QString());
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(4));
    QCOMPARE(changed.count(), 0);
    // Setting the same value shows it again, silently.
    f.ctrl->setValue(qint64(4));
    QCOMPARE(f.text(), QStringLiteral("4"));
    QCOMPARE(changed.count(), 0);
}

void tst_DigitCtrl::changeSignals()
{
    Fixture f([](QWidget *p) { return new Ctrl(-10.0, 10.0, 1.0, "%g", p); });
    QSignalSpy changed(f.ctrl, qOverload<double>(&Ctrl::valueChanged));
    QSignalSpy changedInt(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    QSignalSpy changedText(f.ctrl, qOverload<QString>(&Ctrl::valueChanged));
    f.ctrl->setValue(0.0);
    QCOMPARE(changed.count(), 0);
    f.ctrl->setValue(2.5);
    f.ctrl->setValue(2.5);
    QCOMPARE(changed.count(), 1);
    f.ctrl->setValue(99.0);
    f.ctrl->setValue(10.0);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toDouble(), 10.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    f.ctrl->setValue(nan);
    f.ctrl->setValue(nan);
    QCOMPARE(changed.count(), 4);
    QVERIFY(std::isnan(f.ctrl->value()));
    f.ctrl->setValue(1.0);
    QCOMPARE(changed.count(), 5);
    QCOMPARE(changedInt.count(), 0);
    QCOMPARE(changedText.count(), 0);

    // 80-bit comparison: 2^64 - 1 and -1 share their low 64 bits but differ.
    Fixture i([](QWidget *p) { return new Ctrl(0, -1, 1, false, 64, "%x", p); });
    QSignalSpy changed64(i.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    i.ctrl->setRange(intXXL(-1), intXXL(0), intXXL(1), 0);
    i.ctrl->setValue(intXXL(-1) & zr6200fp_digitFormat::bitMask(64));
    QCOMPARE(changed64.count(), 1);
    i.ctrl->setValue(qint64(-1));
    QCOMPARE(changed64.count(), 1);
}

void tst_DigitCtrl::rangeChanges()
{
    Fixture f([](QWidget *p) { return divider(p); });
    f.ctrl->setValue(qint64(3000));
    QSignalSpy changed(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    // Limits given either way round.
    f.ctrl->setRange(intXXL(2000), intXXL(100), intXXL(-7), 0);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(2000));
    QCOMPARE(changed.count(), 1);
    f.ctrl->setRange(intXXL(0), intXXL(4095), intXXL(0), 0);
    QCOMPARE(changed.count(), 1);
    // Negative step stored as its magnitude.
    f.ctrl->setRange(intXXL(0), intXXL(4095), intXXL(-7), 0);
    QVERIFY(f.show());
    QTest::keyClick(f.ctrl, Qt::Key_Up);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(2007));
    // A narrower width: range opened to the whole type, value clamped.
    f.ctrl->setBits(8);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(255));
    QCOMPARE(f.pattern(), QStringLiteral("[+-]?[0-9]{1,3}"));
    f.ctrl->setValue(qint64(-5));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(0));
    f.ctrl->setBits(0);
    QCOMPARE(f.pattern(), QStringLiteral("[+-]?[0-9]{1,1}"));
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), qint64(0));
    f.ctrl->setBits(1000);
    f.ctrl->setBase(zr6200fp_digitFormat::Hexadecimal);
    QCOMPARE(f.pattern(), QStringLiteral("[0-9a-fA-F]{1,16}"));

    // Signed limits with bits above the width stay inside the type.
    Fixture s([](QWidget *p) { return new Ctrl(-128, 127, 1, true, 8, "%d", p); });
    s.ctrl->setRange(intXXL(0x105), intXXL(0x200), intXXL(1), 0);
    s.ctrl->setValue(qint64(-100));
    QCOMPARE(s.ctrl->valueXXL().toLongLong(), qint64(127));
    QVERIFY(s.show());
    QTest::keyClick(s.ctrl, Qt::Key_Down);
    QCOMPARE(s.ctrl->valueXXL().toLongLong(), qint64(127));
    QCOMPARE(s.text(), QStringLiteral("127"));

    // Double ranges.
    Fixture d([](QWidget *p) { return new Ctrl(0.0, 1.0, 0.25, "%g", p); });
    QSignalSpy changedDouble(d.ctrl, qOverload<double>(&Ctrl::valueChanged));
    d.ctrl->setRange(9.0, 5.0, -2.0);
    QCOMPARE(d.ctrl->value(), 5.0);
    QCOMPARE(changedDouble.count(), 1);
    QVERIFY(d.show());
    QTest::keyClick(d.ctrl, Qt::Key_Up);
    QCOMPARE(d.ctrl->value(), 7.0);
    double v = 100.0;
    QVERIFY(d.ctrl->boundValue(v));
    QCOMPARE(v, 9.0);
}

void tst_DigitCtrl::kindCheck_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<double>("doubleValue");
    QTest::addColumn<qint64>("intValue");
    QTest::addColumn<int>("doubleSignals");
    QTest::addColumn<int>("intSignals");
    QTest::addColumn<QString>("text");
    // Integer control 0..4095 at 4; double control 0..10 at 0.
    QTest::newRow("double into integer, No")
        << "int.setValue(2.5)" << QStringList{"No"} << 0.0 << qint64(4) << 0 << 0 << "4";
    QTest::newRow("double into integer, Yes then No: kept unclamped")
        << "int.setValue(2.5)" << QStringList{"Yes", "No"} << 2.5 << qint64(4) << 1 << 0 << "4";
    QTest::newRow("double into integer, Yes then Yes: clamped to the empty double range")
        << "int.setValue(2.5)" << QStringList{"Yes", "Yes"} << 0.0 << qint64(4) << 0 << 0 << "4";
    QTest::newRow("integer into double, No")
        << "double.setValue(5)" << QStringList{"No"} << 0.0 << qint64(0) << 0 << 0 << "0";
    QTest::newRow("integer into double, Yes: clamped, not shown")
        << "double.setValue(5)" << QStringList{"Yes"} << 0.0 << qint64(0) << 0 << 0 << "0";
    QTest::newRow("integer range on a double, Yes")
        << "double.setRange(intXXL)" << QStringList{"Yes", "Yes"} << 0.0 << qint64(7) << 0 << 1 << "0";
    QTest::newRow("setBits on a double, No")
        << "double.setBits" << QStringList{"No"} << 0.0 << qint64(0) << 0 << 0 << "0";
    QTest::newRow("boundValue on an integer, No")
        << "int.boundValue" << QStringList{"No"} << 0.0 << qint64(4) << 0 << 0 << "4";
    QTest::newRow("double step on an integer, No")
        << "int.setSingleStep(double)" << QStringList{"No"} << 0.0 << qint64(4) << 0 << 0 << "4";
}

void tst_DigitCtrl::kindCheck()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, answers);
    QFETCH(double, doubleValue);
    QFETCH(qint64, intValue);
    QFETCH(int, doubleSignals);
    QFETCH(int, intSignals);
    QFETCH(QString, text);
    const bool onInteger = operation.startsWith(QLatin1String("int."));
    Fixture f([&](QWidget *p) { return onInteger ? divider(p) : new Ctrl(0.0, 10.0, 1.0, "%g", p); });
    if (onInteger)
        f.ctrl->setValue(qint64(4));
    QSignalSpy changed(f.ctrl, qOverload<double>(&Ctrl::valueChanged));
    QSignalSpy changedInt(f.ctrl, qOverload<qint64>(&Ctrl::valueChanged));
    zrtest::ModalAnswerer answerer;
    for (const QString &a : answers)
        answerer.click(a);
    if (operation == QLatin1String("int.setValue(2.5)")) {
        f.ctrl->setValue(2.5);
    } else if (operation == QLatin1String("double.setValue(5)")) {
        f.ctrl->setValue(qint64(5));
    } else if (operation == QLatin1String("double.setRange(intXXL)")) {
        f.ctrl->setRange(intXXL(7), intXXL(9), intXXL(1), 0);
    } else if (operation == QLatin1String("double.setBits")) {
        f.ctrl->setBits(8);
    } else if (operation == QLatin1String("int.boundValue")) {
        double v = 3.0;
        QVERIFY(!f.ctrl->boundValue(v));
        QCOMPARE(v, 3.0);
    } else if (operation == QLatin1String("int.setSingleStep(double)")) {
        f.ctrl->setSingleStep(2.0);
        QVERIFY(f.show());
        QTest::keyClick(f.ctrl, Qt::Key_Up);
        intValue = 5; // the integer step is still 1
        text = QStringLiteral("5");
        intSignals = 1;
    }
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(answerer.seen().size(), answers.size());
    for (const auto &seen : answerer.seen()) {
        QCOMPARE(seen.title, QString());
        QCOMPARE(seen.text, QStringLiteral("Data type is wrong! Do you really want to continue?"));
        QCOMPARE(seen.buttons, QStringList({"Yes", "No"}));
        QCOMPARE(seen.icon, int(QMessageBox::Information));
    }
    QVERIFY(answerer.unexpected().isEmpty());
    QCOMPARE(f.ctrl->value(), doubleValue);
    QCOMPARE(f.ctrl->valueXXL().toLongLong(), intValue);
    QCOMPARE(changed.count(), doubleSignals);
    QCOMPARE(changedInt.count(), intSignals);
    QCOMPARE(f.text(), text);
}

ZR_SCENARIO(unsupportedBase)
{
    const int index = qEnvironmentVariableIntValue("ZR_BASE_INDEX");
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("No"));
    Ctrl ctrl(-128, 127, 1, true, 8, "%x", nullptr);
    ctrl.setValue(qint64(-1));
    ctrl.setBase(index);
    std::printf("base %d text %s\n", ctrl.base(), qPrintable(ctrl.findChild<QLineEdit *>()->text()));
    for (const auto &seen : answerer.seen())
        std::printf("box \"%s\" \"%s\" %s\n", qPrintable(seen.title), qPrintable(seen.text),
                    qPrintable(seen.buttons.join(QLatin1Char(','))));
    return answerer.pending();
}

void tst_DigitCtrl::unsupportedBase_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("line");
    QTest::newRow("unsigned decimal") << 1 << "base:1, flag:0x2, MenuFlag:0x1";
    QTest::newRow("float") << 6 << "base:6, flag:0x4, MenuFlag:0x1";
    QTest::newRow("past the table") << 10 << "base:10, flag:0x0, MenuFlag:0x1";
    QTest::newRow("negative") << -1 << "base:-1, flag:0x0, MenuFlag:0x1";
}

void tst_DigitCtrl::unsupportedBase()
{
    QFETCH(int, index);
    QFETCH(QString, line);
    QProcessEnvironment env;
    env.insert(QStringLiteral("ZR_BASE_INDEX"), QString::number(index));
    const auto result = zrtest::runScenario(QStringLiteral("unsupportedBase"), env);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, line + QStringLiteral("\nbase 2 text ff\n"
                                               "box \"\" \"try missconfigure: non supported new base\" Yes,No\n"));
}

void tst_DigitCtrl::sizeAndButtonPlacement()
{
    Fixture f([](QWidget *p) { return divider(p); });
    QVERIFY(f.show());
    const QFontMetrics fm(f.ctrl->font());
    const int wH = fm.horizontalAdvance(QLatin1Char('H'));
    const int baseWidth = f.ctrl->QAbstractSpinBox::minimumSizeHint().width();
    QCOMPARE(f.ctrl->minimumSizeHint(), QSize(baseWidth + fm.horizontalAdvance(QStringLiteral("FFF")) + wH,
                                              f.ctrl->QAbstractSpinBox::minimumSizeHint().height()));
    QCOMPARE(f.button()->geometry(), QRect(-(wH / 2), -10, 2 * wH, f.editor()->height() + 20));
    QCOMPARE(f.editor()->textMargins().left(), wH + wH / 2);
    QVERIFY(f.button()->isVisible());
    QCOMPARE(f.button()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(f.button()->focusPolicy(), Qt::NoFocus);
    QVERIFY(!f.button()->autoDefault());
    f.ctrl->setBits(33);
    QCOMPARE(f.ctrl->minimumSizeHint().width(), f.ctrl->QAbstractSpinBox::minimumSizeHint().width() +
                                                    fm.horizontalAdvance(QString(8, QLatin1Char('F'))) + wH);
    f.window->resize(400, 120);
    QTRY_COMPARE(f.button()->geometry(), QRect(-(wH / 2), -10, 2 * wH, f.editor()->height() + 20));

    Fixture d([](QWidget *p) { return new Ctrl(p); });
    QVERIFY(d.show());
    QCOMPARE(d.ctrl->minimumSizeHint().width(),
             d.ctrl->QAbstractSpinBox::minimumSizeHint().width() + fm.horizontalAdvance(QStringLiteral("FF")));
    QCOMPARE(d.editor()->textMargins().left(), 0);
    QVERIFY(!d.button()->isVisible());
    QCOMPARE(d.text(), QStringLiteral("0.000"));
}

void tst_DigitCtrl::buildingBlocks()
{
    // A focus loss of an empty line edit still counts as Return.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new zr6200fp_newlineEdit(&window);
    auto *other = new QLineEdit(&window);
    layout->addWidget(edit);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setText(QStringLiteral("abcdef"));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->cursorPosition(), 3);
    QSignalSpy returned(edit, &QLineEdit::returnPressed);
    edit->clear();
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(returned.count(), 1);

    // A base button without a menu: a right click is no click and opens nothing.
    auto *button = new zr6200fp_newPushButton(&window);
    button->setGeometry(0, 0, 30, 30);
    button->show();
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, button->geometry().center());
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!QApplication::activePopupWidget());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);

    zr6200fp_newDoubleValidator validator(-1e9, 1e9, 3);
    const QList<QPair<QString, QValidator::State>> cases = {
        {QString(), QValidator::Acceptable},
        {QStringLiteral("-"), QValidator::Acceptable},
        {QStringLiteral("1e"), QValidator::Acceptable},
        {QStringLiteral("1.234"), QValidator::Acceptable},
        {QStringLiteral("a"), QValidator::Invalid},
        {QStringLiteral("1.2345"), QValidator::Invalid},
    };
    for (const auto &c : cases) {
        QString input = c.first;
        int pos = 0;
        QCOMPARE(validator.validate(input, pos), c.second);
    }
}

ZR_TEST_MAIN(tst_DigitCtrl)
#include "tst_digitctrl.moc"
