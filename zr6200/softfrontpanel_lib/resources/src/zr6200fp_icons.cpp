#include "resources/zr6200fp_icons.h"

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

// Pixel pictures enlarged by whole factors keep their hard edges; Qt picks
// the variant that matches the device pixels it needs.
QIcon crispIcon(const QImage &image)
{
    QIcon icon;
    for (int factor = 1; factor <= 4; ++factor)
        icon.addPixmap(
            QPixmap::fromImage(image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    return icon;
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

QImage startIconImage()
{
    return fromRows({"............", ".##.........", ".####.......", ".######.....", ".########...", ".##########.",
                     ".##########.", ".########...", ".######.....", ".####.......", ".##.........", "............"},
                    {{'#', qRgb(0x00, 0x80, 0x00)}});
}

QImage continuousIconImage()
{
    return fromRows({"............", "#.....#.....", "##....##....", "###...###...", "####..####..", "#####.#####.",
                     "#####.#####.", "####..####..", "###...###...", "##....##....", "#.....#.....", "............"},
                    {{'#', qRgb(0x00, 0x80, 0x00)}});
}

QImage stopIconImage()
{
    return fromRows({"............", "############", "############", "############", "############", "############",
                     "############", "############", "############", "############", "############", "............"},
                    {{'#', qRgb(0x80, 0x00, 0x00)}});
}

QImage helpIconImage()
{
    return fromRows({"#...................", "##..................", "#w#.................", "#ww#.........#####..",
                     "#www#.......##...##.", "#wwww#......##...##.", "#wwwww#..........##.", "#wwwwww#........##..",
                     "#wwwwwww#......##...", "#wwwwwwww#.....##...", "#wwwww#####....##...", "#ww#ww#.............",
                     "#w#.#ww#.......##...", "##..#ww#.......##...", "#....#ww#...........", ".....#ww#...........",
                     "......##............"},
                    {{'#', qRgb(0x00, 0x00, 0x00)}, {'w', qRgb(0xff, 0xff, 0xff)}});
}

QIcon windowIcon()
{
    return crispIcon(windowIconImage());
}

QIcon startIcon()
{
    return crispIcon(startIconImage());
}

QIcon continuousIcon()
{
    return crispIcon(continuousIconImage());
}

QIcon stopIcon()
{
    return crispIcon(stopIconImage());
}

QIcon helpIcon()
{
    return crispIcon(helpIconImage());
}

QPixmap picture(const QImage &image, qreal devicePixelRatio)
{
    if (image.isNull() || devicePixelRatio <= 1.0)
        return QPixmap::fromImage(image);
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(image.size() * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QPixmap picture(const QString &resource, qreal devicePixelRatio)
{
    return picture(QImage(resource), devicePixelRatio);
}

} // namespace zr6200fp_icons
