#include "zr6200fp_icons.h"

#include <QPixmap>
#include <initializer_list>
#include <utility>

namespace zr6200fp_icons {

namespace {
QImage fromRows(std::initializer_list<const char *> rows, std::initializer_list<std::pair<char, QRgb>> palette)
{
    const int height = int(rows.size());
    const int width = int(qstrlen(*rows.begin()));
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = 0;
    for (const char *row : rows) {
        for (int x = 0; x < width && row[x]; ++x) {
            for (const auto &entry : palette) {
                if (entry.first == row[x])
                    image.setPixel(x, y, entry.second);
            }
        }
        ++y;
    }
    return image;
}
} // namespace

QImage windowIconImage()
{
    return fromRows({"########....aaa.", "#########..aaaaa", "##########.aaaaa", "#########..aaaaa", "########....aaa.",
                     "................", ".bbb....########", "bbbbb..#########", "bbbbb.##########", "bbbbb..#########",
                     ".bbb....########", "................", "c..cc.cc.c.cc.cc", "cc.cc.c..c.cc.c.", "cc.cc..c.c.c..c.",
                     "cc.cc.cc.c.cc.cc"},
                    {{'c', qRgb(0xff, 0xff, 0xff)},
                     {'b', qRgb(0x00, 0x00, 0xff)},
                     {'#', qRgb(0x80, 0x80, 0x80)},
                     {'a', qRgb(0xff, 0x00, 0x00)}});
}

QIcon windowIcon()
{
    return QIcon(QPixmap::fromImage(windowIconImage()));
}

} // namespace zr6200fp_icons
