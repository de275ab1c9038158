// Arbitrary text as DefaultInstrDescr.ini: loading the address rows from it
// must never crash, and saving them back must work.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

#include "core/zr6200fp_settingsLocation.h"
#include "fakecard.h"
#include "fc/zr6200fp_fcEnterAddress.h"

namespace {
struct Environment
{
    Environment()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("ALLUSERSPROFILE", QFile::encodeName(folder.path()));
        app = std::make_unique<QApplication>(argc, argv);
    }
    QTemporaryDir folder;
    int argc = 1;
    char name[16] = "fuzz";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Environment *environment = new Environment;
    static FakeCard card;
    const QString path = zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current());
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    if (descriptors.size() != numbers.size())
        __builtin_trap();
    (void)environment;
    return 0;
}
