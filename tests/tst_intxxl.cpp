#include <QRandomGenerator>
#include <QtTest>
#include <limits>

#include "core/zr6200fp_intXXL.h"
#include "intxxl_reference.h"

using namespace zrref;

namespace {
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
const i128 two64 = i128(1) << 64;
const i128 two79 = i128(1) << 79;
} // namespace

class tst_IntXXL : public QObject
{
    Q_OBJECT
private slots:
    void construction_data();
    void construction();
    void addSub_data();
    void addSub();
    void ordering_data();
    void ordering();
    void shift_data();
    void shift();
    void division_data();
    void division();
    void hexText();
    void randomAgainstInt128();
};

void tst_IntXXL::construction_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("zero") << qint64(0) << QByteArray("00000000000000000000");
    QTest::newRow("one") << qint64(1) << QByteArray("00000000000000000001");
    QTest::newRow("minus one") << qint64(-1) << QByteArray("ffffffffffffffffffff");
    QTest::newRow("int64 max") << int64Max << QByteArray("00007fffffffffffffff");
    QTest::newRow("int64 min") << int64Min << QByteArray("ffff8000000000000000");
    QTest::newRow("limb pattern") << qint64(0x123456789abcdef0) << QByteArray("0000123456789abcdef0");
}

void tst_IntXXL::construction()
{
    QFETCH(qint64, n);
    QFETCH(QByteArray, hex);
    intXXL x(n);
    QCOMPARE(QByteArray(x.toHex(0)), hex);
    QCOMPARE(x.toLongLong(), n);
    QVERIFY(fromHex(hex) == x);
    QCOMPARE(intXXL().toLongLong(), qint64(0));
}

void tst_IntXXL::addSub_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QByteArray>("sum");
    QTest::addColumn<QByteArray>("difference");
    auto row = [](const char *name, i128 a, i128 b) {
        QTest::newRow(name) << hex(a) << hex(b) << hex(wrap80(a + b)) << hex(wrap80(a - b));
    };
    for (int limb = 1; limb <= 4; ++limb) {
        const i128 full = (i128(1) << (16 * limb)) - 1;
        // All ones up to a limb boundary: +1 carries through every limb below it.
        row(qPrintable(QStringLiteral("carry into limb %1").arg(limb)), full, 1);
        // A power of the limb size minus 1 borrows through every limb below it.
        row(qPrintable(QStringLiteral("borrow from limb %1").arg(limb)), full + 1, 1);
    }
    row("-1 + 1 carries out of limb 4", -1, 1);
    row("0 - 1 borrows into every limb", 0, 1);
    row("2^64 - 1 + 1 reaches limb 4", two64 - 1, 1);
    row("2^79 - 1 + 1 wraps to -2^79", two79 - 1, 1);
    row("-2^79 - 1 wraps to 2^79 - 1", -two79, 1);
    row("int64 max + int64 max", int64Max, int64Max);
    row("int64 min - int64 max", int64Min, int64Max);
    row("alternating limbs", i128(0xFFFF0000FFFF) << 16, i128(0xFFFF0000FFFF0000));
}

void tst_IntXXL::addSub()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QByteArray, sum);
    QFETCH(QByteArray, difference);
    QCOMPARE(hex(fromHex(a) + fromHex(b)), sum);
    QCOMPARE(hex(fromHex(a) - fromHex(b)), difference);
    QCOMPARE(hex(fromHex(sum) - fromHex(b)), a);
}

void tst_IntXXL::ordering_data()
{
    QTest::addColumn<QByteArray>("smaller");
    QTest::addColumn<QByteArray>("larger");
    QTest::newRow("-1 < 0") << hex(-1) << hex(0);
    QTest::newRow("-2^63 < 2^63 - 1") << hex(int64Min) << hex(int64Max);
    QTest::newRow("0 < 2^64 - 1") << hex(0) << hex(two64 - 1);
    QTest::newRow("-2^79 < 2^79 - 1") << hex(-two79) << hex(two79 - 1);
    QTest::newRow("-2 < -1") << hex(-2) << hex(-1);
    QTest::newRow("differs in limb 0 only") << hex((i128(5) << 64) + 1) << hex((i128(5) << 64) + 2);
    QTest::newRow("limb 3 outweighs limb 0") << hex((i128(1) << 48) + 0xFFFF) << hex(i128(2) << 48);
    QTest::newRow("negative, limb 4 decides") << hex(-(i128(1) << 64)) << hex(-(i128(1) << 63));
}

void tst_IntXXL::ordering()
{
    QFETCH(QByteArray, smaller);
    QFETCH(QByteArray, larger);
    const intXXL a = fromHex(smaller);
    const intXXL b = fromHex(larger);
    QVERIFY(a < b);
    QVERIFY(a <= b);
    QVERIFY(b > a);
    QVERIFY(b >= a);
    QVERIFY(a != b);
    QVERIFY(!(a == b));
    QVERIFY(!(b < a));
    QVERIFY(!(a > b));
    QVERIFY(a <= a && a >= a && !(a < a) && a == a);
}

void tst_IntXXL::shift_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("n");
    for (int n : {0, 1, 15, 16, 17, 31, 32, 48, 63, 64, 65, 79, 80, 81, 200, -1, -100})
        QTest::newRow(qPrintable(QStringLiteral("1 << %1").arg(n))) << qint64(1) << n;
    for (int n : {1, 4, 15, 16, 33, 62})
        QTest::newRow(qPrintable(QStringLiteral("0x8001 pattern << %1").arg(n))) << qint64(0x8001c003e007f00f) << n;
    QTest::newRow("-1 << 79") << qint64(-1) << 79;
    QTest::newRow("-1 << 16") << qint64(-1) << 16;
}

void tst_IntXXL::shift()
{
    QFETCH(qint64, value);
    QFETCH(int, n);
    QCOMPARE(hex(intXXL(value) << n), hex(shiftLeft(value, n)));
}

void tst_IntXXL::division_data()
{
    QTest::addColumn<QByteArray>("dividend");
    QTest::addColumn<int>("divisor");
    QTest::addColumn<QByteArray>("quotient");
    auto row = [](const char *name, i128 a, qint16 d, i128 q) { QTest::newRow(name) << hex(a) << int(d) << hex(q); };
    row("-128 / 10", -128, 10, -12);
    row("255 / 16", 255, 16, 15);
    row("0 / 16", 0, 16, 0);
    row("7 / -2", 7, -2, -3);
    row("-7 / -2", -7, -2, 3);
    row("-7 / 2", -7, 2, -3);
    row("-1 / 2 truncates to 0", -1, 2, 0);
    row("2^64 - 1 / 2", two64 - 1, 2, (two64 - 1) / 2);
    row("-2^79 / 1", -two79, 1, -two79);
    row("-2^79 / -1 wraps", -two79, -1, -two79);
    row("-2^79 / -32768", -two79, -32768, i128(1) << 64);
    row("2^79 - 1 / 32767", two79 - 1, 32767, (two79 - 1) / 32767);
    row("int64 min / 10", int64Min, 10, int64Min / 10);
    row("by zero gives 0", 12345, 0, 0);
    row("negative by zero gives 0", -two79, 0, 0);
}

void tst_IntXXL::division()
{
    QFETCH(QByteArray, dividend);
    QFETCH(int, divisor);
    QFETCH(QByteArray, quotient);
    QCOMPARE(hex(fromHex(dividend) / qint16(divisor)), quotient);
}

void tst_IntXXL::hexText()
{
    intXXL x(-1);
    QCOMPARE(QByteArray(x.toHex(0)), QByteArray("ffffffffffffffffffff"));
    QCOMPARE(QByteArray(x.toHex(1)), QByteArray("not supported"));
    QCOMPARE(QByteArray(x.toHex(-7)), QByteArray("not supported"));
    // The buffer belongs to the value: a copy's text does not change it.
    intXXL y = x;
    y.toHex(1);
    QCOMPARE(QByteArray(x.toHex(0)), QByteArray("ffffffffffffffffffff"));
    // 2^64 - 1: toLongLong sees -1, the comparison sees a positive number.
    const intXXL u = intXXL(-1) & (((intXXL(1) << 64)) - intXXL(1));
    QCOMPARE(u.toLongLong(), qint64(-1));
    QVERIFY(u > intXXL(0));
    QVERIFY(intXXL(-1) < intXXL(0));
    QVERIFY(intXXL(int64Max) > intXXL(int64Min));
}

void tst_IntXXL::randomAgainstInt128()
{
    // Fixed seed: the same cases every run. Limbs lean towards the values
    // where carries, borrows and signs change.
    QRandomGenerator rng(7480);
    const quint16 edges[] = {0, 1, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF};
    auto limb = [&] {
        return rng.bounded(2) ? edges[rng.bounded(int(std::size(edges)))] : quint16(rng.bounded(65536));
    };
    auto value = [&] {
        u128 u = 0;
        for (int i = 0; i < 5; ++i)
            u = (u << 16) | limb();
        return wrap80(i128(u));
    };
    for (int i = 0; i < 20000; ++i) {
        const i128 a = value();
        const i128 b = value();
        const int n = int(rng.bounded(90)) - 5;
        const auto d = qint16(limb());
        const intXXL x = toXXL(a);
        const intXXL y = toXXL(b);
        const QByteArray context = hex(a) + ' ' + hex(b) + ' ' + QByteArray::number(n) + ' ' + QByteArray::number(d);
        QVERIFY2(hex(x + y) == hex(wrap80(a + b)), context.constData());
        QVERIFY2(hex(x - y) == hex(wrap80(a - b)), context.constData());
        QVERIFY2(hex(x & y) == hex(a & b), context.constData());
        QVERIFY2(hex(x | y) == hex(a | b), context.constData());
        QVERIFY2(hex(~x) == hex(~a), context.constData());
        QVERIFY2(hex(x << n) == hex(shiftLeft(a, n)), context.constData());
        QVERIFY2(hex(x / d) == hex(divide(a, d)), context.constData());
        QVERIFY2((x == y) == (a == b) && (x != y) == (a != b), context.constData());
        QVERIFY2((x < y) == (a < b) && (x <= y) == (a <= b), context.constData());
        QVERIFY2((x > y) == (a > b) && (x >= y) == (a >= b), context.constData());
        QVERIFY2(x.toLongLong() == qint64(quint64(u128(a))), context.constData());
    }
}

QTEST_APPLESS_MAIN(tst_IntXXL)
#include "tst_intxxl.moc"
