// Arbitrary text as DefaultInstrDescr.ini: loading the address rows must
// never crash, and what is saved comes back, the current text first.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>

#include "core/zr6200fp_settingsLocation.h"
#include "fc/zr6200fp_fcEnterAddress.h"
#include "support/fakecard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir *folder = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_settingsfile";
        static char *argv[] = {name, nullptr};
        new QApplication(argc, argv); // never destroyed: libFuzzer leaves through exit()
        auto *dir = new QTemporaryDir;
        qputenv("ALLUSERSPROFILE", QFile::encodeName(dir->path()));
        return dir;
    }();
    static const FakeCard card(0x5902);
    const QString path = zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current());
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!folder->isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    const QString current = dialog.descriptorCombo(0)->currentText();
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    zr6200fp_fcEnterAddress again(&card);
    again.loadAddresses();
    if (!current.isEmpty() && again.descriptorCombo(0)->itemText(0) != current)
        __builtin_trap();
    return 0;
}
