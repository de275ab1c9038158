// Writes the program's icon for the desktop at the usual sizes: the window
// icon enlarged without smoothing, so its pixel picture stays sharp.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "resources/zr6200fp_icons.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_app_icon <output folder>\n");
        return 2;
    }
    const QImage icon = zr6200fp_icons::windowIconImage();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) || !icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                           .save(folder + QStringLiteral("/zr7480sfp.png"))) {
            std::fprintf(stderr, "make_app_icon: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
