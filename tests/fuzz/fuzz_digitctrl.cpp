// Arbitrary formats, typed texts and operations on a digit control. Beyond
// the sanitizers it checks that an integer value stays inside its type and
// that committing the shown text never changes the value.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>

#include "core/zr6200fp_digitFormat.h"
#include "digitctrl/zr6200fp_digitCtrl.h"
#include "zr6200fp_newlineEdit.h"
#include "zr6200fp_newPushButton.h"

using Ctrl = zr6200fp_digitCtrl;
using Format = zr6200fp_digitFormat;

namespace {

void fail(const char *what, const Ctrl &ctrl)
{
    intXXL v = ctrl.valueXXL();
    std::fprintf(stderr, "digit control: %s (value %s, base %d, format \"%s\", text \"%s\")\n", what, v.toHex(0),
                 ctrl.base(), ctrl.formatString().constData(), qPrintable(ctrl.findChild<QLineEdit *>()->text()));
    __builtin_trap();
}

void key(Ctrl &ctrl, int code, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(&ctrl, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(&ctrl, &release);
}

void type(Ctrl &ctrl, const std::string &bytes)
{
    for (const char c : bytes) {
        const QString text(QChar::fromLatin1(c));
        const int code = c >= 'a' && c <= 'z' ? c - 'a' + Qt::Key_A : (c > ' ' && c < 0x7F ? c : Qt::Key_unknown);
        key(ctrl, code, text);
    }
}

bool allowed(int row, int kindMask)
{
    return (Format::baseTable[size_t(row)].kindMask & kindMask) == kindMask;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir runtime;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    static int argc = 1;
    static char name[] = "fuzz_digitctrl";
    static char *argv[] = {name, nullptr};
    // Never destroyed: libFuzzer leaves through exit(), after Qt's own
    // globals are gone.
    static const auto *app = new QApplication(argc, argv);
    Q_UNUSED(app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int kind = in.ConsumeIntegralInRange(0, 2); // signed, unsigned, double
    const bool isInteger = kind != 2;
    const int kindMask = kind == 0 ? Format::SignedInteger : kind == 1 ? Format::UnsignedInteger : Format::Double;
    const std::string format = in.ConsumeRandomLengthString(400);
    int bits = in.ConsumeIntegralInRange(-4, 90);
    std::unique_ptr<Ctrl> ctrl;
    if (isInteger) {
        const auto min = in.ConsumeIntegral<qint64>();
        const auto max = in.ConsumeIntegral<qint64>();
        const auto step = in.ConsumeIntegral<qint64>();
        ctrl = std::make_unique<Ctrl>(min, max, step, kind == 0, bits, format.c_str());
    } else {
        const auto min = in.ConsumeFloatingPoint<double>();
        const auto max = in.ConsumeFloatingPoint<double>();
        ctrl = std::make_unique<Ctrl>(min, max, in.ConsumeFloatingPoint<double>(), format.c_str());
    }
    if (bits != 0)
        bits = std::clamp(bits, 1, 64);
    else
        bits = 32;
    auto *editor = ctrl->findChild<zr6200fp_newlineEdit *>();

    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 11)) {
        case 0:
            ctrl->setFormat(in.ConsumeRandomLengthString(300).c_str());
            break;
        case 1: {
            const int row = in.ConsumeIntegralInRange(0, Format::baseCount - 1);
            if (allowed(row, kindMask))
                ctrl->setBase(row);
            break;
        }
        case 2:
            type(*ctrl, in.ConsumeRandomLengthString(40));
            key(*ctrl, Qt::Key_Return);
            break;
        case 3:
            // Arbitrary text past the validator, committed as a focus loss would.
            editor->setText(QString::fromLatin1(in.ConsumeRandomLengthString(60)));
            emit editor->returnPressed();
            break;
        case 4: {
            const int keys[] = {Qt::Key_Up,        Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                Qt::Key_Backspace, Qt::Key_Home, Qt::Key_End,    Qt::Key_Enter};
            key(*ctrl, keys[in.ConsumeIntegralInRange<size_t>(0, std::size(keys) - 1)]);
            break;
        }
        case 5:
            if (in.ConsumeBool())
                ctrl->stepUp();
            else
                ctrl->stepDown();
            break;
        case 6:
            if (isInteger)
                ctrl->setValue(in.ConsumeIntegral<qint64>());
            else
                ctrl->setValue(in.ConsumeFloatingPoint<double>());
            break;
        case 7:
            if (isInteger) {
                const int newBits = in.ConsumeIntegralInRange(-4, 90);
                const auto min = intXXL(in.ConsumeIntegral<qint64>()) << in.ConsumeIntegralInRange(0, 16);
                const auto max = intXXL(in.ConsumeIntegral<qint64>()) << in.ConsumeIntegralInRange(0, 16);
                ctrl->setRange(min, max, intXXL(in.ConsumeIntegral<qint64>()), newBits);
                if (newBits != 0)
                    bits = std::clamp(newBits, 1, 64);
            } else {
                const auto min = in.ConsumeFloatingPoint<double>();
                const auto max = in.ConsumeFloatingPoint<double>();
                ctrl->setRange(min, max, in.ConsumeFloatingPoint<double>());
            }
            break;
        case 8:
            if (isInteger) {
                bits = std::clamp(in.ConsumeIntegralInRange(-4, 90), 1, 64);
                ctrl->setBits(bits);
            }
            break;
        case 9:
            if (isInteger) {
                ctrl->setAlignmentBits(in.ConsumeIntegralInRange(-4, 100));
            }
            break;
        case 10:
            ctrl->setWrapping(in.ConsumeBool());
            if (isInteger)
                ctrl->setStepUp(in.ConsumeIntegral<qint64>());
            else
                ctrl->setStepDown(in.ConsumeFloatingPoint<double>());
            break;
        case 11:
            if (isInteger)
                editor->baseButton->click();
            else
                ctrl->slotClear(0);
            break;
        }

        if (!isInteger)
            continue;
        const intXXL value = ctrl->valueXXL();
        if (value < Format::typeMinimum(bits, kind == 0) || value > Format::typeMaximum(bits, kind == 0))
            fail("value outside its type", *ctrl);
        if (editor->text().size() > 600)
            fail("text too long", *ctrl);
        ctrl->setValue(value);
        emit editor->returnPressed();
        if (ctrl->valueXXL() != value)
            fail("committing the shown text changed the value", *ctrl);
    }
    return 0;
}
