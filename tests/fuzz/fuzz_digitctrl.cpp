// Arbitrary formats, widths, ranges and typed texts on a digit control:
// beyond the sanitizers, an integer value stays inside its type and its
// text reads back as the value.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>

#include "digitctrl/zr6200fp_digitCtrl.h"

using Fmt = zr6200fp_digitFormat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool started = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_digitctrl";
        static char *argv[] = {name, nullptr};
        new QApplication(argc, argv); // never destroyed: libFuzzer leaves through exit()
        return true;
    }();
    FuzzedDataProvider in(data, size);
    const bool isSigned = in.ConsumeBool();
    const int bits = in.ConsumeIntegralInRange(1, 64);
    zr6200fp_digitCtrl ctrl(in.ConsumeIntegral<qint64>(), in.ConsumeIntegral<qint64>(), in.ConsumeIntegral<qint64>(),
                            isSigned, bits, in.ConsumeRandomLengthString(300).c_str());
    auto *editor = ctrl.findChild<QLineEdit *>();
    (void)started;
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 4)) {
        case 0:
            ctrl.setFormat(in.ConsumeRandomLengthString(300).c_str());
            break;
        case 1: {
            // A base the control does not offer would ask the user.
            const int base = in.ConsumeIntegralInRange(int(Fmt::UnsignedDecimal), int(Fmt::Binary));
            ctrl.setBase(base == Fmt::UnsignedDecimal && isSigned ? Fmt::Decimal : base);
            break;
        }
        case 2: {
            QString keys; // printable ASCII, what a keyboard types
            for (const char c : in.ConsumeRandomLengthString(70))
                keys += QLatin1Char(char(0x20 + static_cast<unsigned char>(c) % 95));
            editor->selectAll();
            QTest::keyClicks(&ctrl, keys);
            QTest::keyClick(&ctrl, in.ConsumeBool() ? Qt::Key_Return : Qt::Key_Up);
            break;
        }
        case 3:
            ctrl.setValue(in.ConsumeIntegral<qint64>());
            break;
        case 4:
            ctrl.setAlignmentBits(in.ConsumeIntegralInRange(-4, 100));
            break;
        }
        // A pending edit (Up at the maximum does not commit) is committed.
        QTest::keyClick(&ctrl, Qt::Key_Return);
        const intXXL value = ctrl.valueXXL();
        if (value < Fmt::typeMinimum(bits, isSigned) || value > Fmt::typeMaximum(bits, isSigned))
            __builtin_trap();
        intXXL typed;
        if (Fmt::readInteger(editor->text().trimmed(), ctrl.base(), isSigned, &typed) &&
            Fmt::normalize(typed, bits, isSigned) != value) {
            intXXL shown = value;
            std::fprintf(stderr, "text \"%s\" (format \"%s\", base %d, %d bits) is not the value %s\n",
                         qPrintable(editor->text()), ctrl.formatString().constData(), ctrl.base(), bits,
                         shown.toHex(0));
            __builtin_trap();
        }
    }
    return 0;
}
