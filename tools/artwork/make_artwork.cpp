// Draws the splash, logo and About pictures of the panel from code, so they
// can be regenerated and changed without an image editor, and the desktop
// icons from the program's own window icon.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "resources/zr6200fp_icons.h"

namespace {
const QColor kNavy(0x1a, 0x2c, 0x5e);
const QColor kNavyDark(0x10, 0x1b, 0x3b);
const QColor kAccent(0xf0, 0x8a, 0x24);
const QColor kPaper(0xf4, 0xf6, 0xfa);

QFont font(int pixelSize, int weight = QFont::Bold, bool italic = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    return f;
}

bool save(const QImage &image, const QString &path, const char *format)
{
    if (!image.save(path, format)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage background()
{
    QImage img(520, 400, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), Qt::white);

    QLinearGradient device(0, 38, 0, 236);
    device.setColorAt(0, QColor(0xdd, 0xe3, 0xee));
    device.setColorAt(1, QColor(0xf7, 0xf8, 0xfb));
    p.fillRect(QRect(67, 38, 453, 199), device);

    QLinearGradient text(0, 237, 0, 400);
    text.setColorAt(0, Qt::white);
    text.setColorAt(1, kPaper);
    p.fillRect(QRect(67, 237, 453, 163), text);

    QLinearGradient band(0, 0, 0, 400);
    band.setColorAt(0, kNavy);
    band.setColorAt(1, kNavyDark);
    p.fillRect(QRect(0, 0, 67, 400), band);
    p.fillRect(QRect(67, 0, 453, 38), kNavy);

    // Concentric rings in the left band, like a signal spreading out.
    p.setPen(QPen(QColor(255, 255, 255, 40), 2));
    for (int r = 20; r < 200; r += 18)
        p.drawEllipse(QPoint(0, 400), r, r);
    p.setPen(QPen(kAccent, 3));
    p.drawLine(67, 236, 519, 236);

    p.setPen(Qt::white);
    p.setFont(font(15, QFont::Bold));
    p.drawText(QRect(80, 0, 300, 38), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("HALVAR"));
    p.setFont(font(11, QFont::Normal));
    p.drawText(QRect(200, 0, 308, 38), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("Function Card Family"));
    return img;
}

// 8 bits per pixel with a palette of the picture's own most frequent colours
// (averaged over 4-bit bins), which keeps gradients smooth.
QImage toIndexed8(const QImage &source)
{
    struct Bin
    {
        qint64 r = 0, g = 0, b = 0, n = 0;
    };
    QHash<int, Bin> bins;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = source.pixel(x, y);
            Bin &bin = bins[(qRed(c) >> 4) << 8 | (qGreen(c) >> 4) << 4 | (qBlue(c) >> 4)];
            bin.r += qRed(c);
            bin.g += qGreen(c);
            bin.b += qBlue(c);
            ++bin.n;
        }
    }
    QList<QPair<int, int>> order;
    for (auto it = bins.cbegin(); it != bins.cend(); ++it)
        order.append({it.value().n, it.key()});
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<QRgb> table;
    for (int i = 0; i < order.size() && i < 256; ++i) {
        const Bin &bin = bins[order[i].second];
        table.append(qRgb(int(bin.r / bin.n), int(bin.g / bin.n), int(bin.b / bin.n)));
    }
    return source.convertToFormat(QImage::Format_Indexed8, table, Qt::DiffuseDither);
}

void drawBnc(QPainter &p, QPointF c, const QString &label)
{
    QRadialGradient g(c, 11);
    g.setColorAt(0, QColor(0xf2, 0xf2, 0xf2));
    g.setColorAt(1, QColor(0x8a, 0x8f, 0x99));
    p.setPen(QPen(QColor(0x50, 0x55, 0x60), 1));
    p.setBrush(g);
    p.drawEllipse(c, 10, 10);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(c, 3.5, 3.5);
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.setFont(font(8, QFont::Bold));
    p.drawText(QRectF(c.x() - 20, c.y() + 11, 40, 12), Qt::AlignCenter, label);
}

void drawChip(QPainter &p, QRectF r, const QString &label)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x1c, 0x1e));
    p.drawRoundedRect(r, 2, 2);
    p.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1.5));
    for (qreal x = r.left() + 4; x < r.right() - 2; x += 6) {
        p.drawLine(QPointF(x, r.top() - 3), QPointF(x, r.top()));
        p.drawLine(QPointF(x, r.bottom()), QPointF(x, r.bottom() + 3));
    }
    p.setPen(QColor(0xe0, 0xe0, 0xe0));
    p.setFont(font(9, QFont::Bold));
    p.drawText(r, Qt::AlignCenter, label);
}

QImage deviceSplash()
{
    QImage img = background();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Soft shadow, then the board.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(QRectF(126, 66, 370, 150), 8, 8);
    QLinearGradient pcb(0, 58, 0, 208);
    pcb.setColorAt(0, QColor(0x2b, 0x7a, 0x47));
    pcb.setColorAt(1, QColor(0x1c, 0x5c, 0x34));
    p.setBrush(pcb);
    p.drawRoundedRect(QRectF(120, 58, 370, 150), 8, 8);

    // Traces.
    p.setPen(QPen(QColor(0x5f, 0xb0, 0x78, 150), 1.5));
    for (int i = 0; i < 9; ++i) {
        QPainterPath path(QPointF(150, 80 + i * 13));
        path.lineTo(QPointF(260 + i * 6, 80 + i * 13));
        path.lineTo(QPointF(300 + i * 6, 100 + i * 9));
        path.lineTo(QPointF(470, 100 + i * 9));
        p.drawPath(path);
    }

    // Front panel on the left with four connectors and two lamps.
    QLinearGradient panel(88, 0, 122, 0);
    panel.setColorAt(0, QColor(0xb8, 0xbe, 0xc8));
    panel.setColorAt(0.5, QColor(0xe6, 0xe9, 0xee));
    panel.setColorAt(1, QColor(0xa4, 0xab, 0xb6));
    p.setPen(QPen(QColor(0x70, 0x76, 0x80), 1));
    p.setBrush(panel);
    p.drawRoundedRect(QRectF(86, 44, 38, 178), 3, 3);
    drawBnc(p, QPointF(105, 66), QStringLiteral("CH1"));
    drawBnc(p, QPointF(105, 106), QStringLiteral("CH2"));
    drawBnc(p, QPointF(105, 146), QStringLiteral("SYNC"));
    drawBnc(p, QPointF(105, 186), QStringLiteral("CLK"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0xd0, 0x40));
    p.drawEllipse(QPointF(96, 214), 2.5, 2.5);
    p.setBrush(QColor(0xe0, 0x30, 0x20));
    p.drawEllipse(QPointF(114, 214), 2.5, 2.5);

    drawChip(p, QRectF(190, 82, 74, 44), QStringLiteral("DDS"));
    drawChip(p, QRectF(290, 78, 92, 56), QStringLiteral("7480"));
    drawChip(p, QRectF(200, 150, 56, 34), QStringLiteral("PLL"));
    drawChip(p, QRectF(400, 88, 50, 34), QStringLiteral("FLT"));
    drawChip(p, QRectF(300, 156, 56, 30), QStringLiteral("FLT"));

    // Edge connector at the back.
    p.setBrush(QColor(0xd9, 0xa8, 0x3a));
    for (int y = 70; y < 200; y += 8)
        p.drawRect(QRectF(484, y, 9, 5));

    p.setPen(QColor(0xf0, 0xf0, 0xf0));
    p.setFont(font(10, QFont::Bold));
    p.drawText(QRectF(380, 186, 100, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("TERVIX 7480"));
    p.end();
    return toIndexed8(img);
}

QImage logoBase(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kNavy);
    g.setColorAt(1, kNavyDark);
    p.fillRect(img.rect(), g);
    return img;
}

QImage halvarLogo()
{
    QImage img = logoBase(86, 84);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(22, 12, 11, 44), 2, 2);
    p.drawRoundedRect(QRectF(53, 12, 11, 44), 2, 2);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(20, 29, 46, 10), 2, 2);
    p.setPen(Qt::white);
    p.setFont(font(11, QFont::Bold));
    p.drawText(QRect(0, 60, 86, 18), Qt::AlignCenter, QStringLiteral("HALVAR"));
    return img;
}

QImage busLogo(int w, const QString &name, const QString &caption)
{
    QImage img = logoBase(w, 84);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::white);
    p.setFont(font(38, QFont::Black, true));
    p.drawText(QRect(0, 6, w, 50), Qt::AlignCenter, name);
    p.setPen(QPen(kAccent, 4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath swoosh(QPointF(14, 60));
    swoosh.cubicTo(QPointF(w * 0.35, 52), QPointF(w * 0.65, 68), QPointF(w - 14, 58));
    p.drawPath(swoosh);
    p.setPen(QColor(0xc8, 0xd2, 0xe8));
    p.setFont(font(10, QFont::Normal));
    p.drawText(QRect(0, 64, w, 18), Qt::AlignCenter, caption);
    return img;
}

QImage aboutPicture()
{
    QImage img(110, 345, QImage::Format_ARGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 345);
    g.setColorAt(0, QColor(0x2c, 0x45, 0x86));
    g.setColorAt(1, kNavyDark);
    p.fillRect(img.rect(), g);

    // Filter responses drawn down the picture: a low-pass family.
    for (int i = 0; i < 5; ++i) {
        QPainterPath path;
        const double corner = 60 + i * 50;
        for (int y = 0; y <= 345; y += 3) {
            const double ratio = y / corner;
            const double gain = 1.0 / std::sqrt(1.0 + std::pow(ratio, 8));
            const QPointF pt(12 + 86 * gain, y);
            if (y == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        QColor c = i == 2 ? kAccent : QColor(255, 255, 255, 90 + i * 25);
        p.setPen(QPen(c, i == 2 ? 2.5 : 1.2));
        p.drawPath(path);
    }
    p.save();
    p.translate(24, 330);
    p.rotate(-90);
    p.setPen(Qt::white);
    p.setFont(font(22, QFont::Black));
    p.drawText(QPoint(0, 0), QStringLiteral("TERVIX 7480"));
    p.restore();
    return img;
}

// The window icon enlarged without smoothing, so its pixel picture stays
// sharp, at the sizes desktops look for.
bool saveDesktopIcons(const QString &hicolor)
{
    const QImage icon = zr6200fp_icons::windowIconImage();
    bool ok = true;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(hicolor).arg(size);
        QDir().mkpath(folder);
        ok &= save(icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                   folder + QStringLiteral("/zr7480sfp.png"), "PNG");
    }
    return ok;
}
} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: make_artwork <common resource dir> <instrument resource dir> <hicolor icon dir>\n");
        return 2;
    }
    const QDir common(QString::fromLocal8Bit(argv[1]));
    const QDir instrument(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(common.path());
    QDir().mkpath(instrument.path());
    bool ok = save(background(), common.filePath(QStringLiteral("fp_splash.png")), "PNG");
    ok &= save(halvarLogo(), common.filePath(QStringLiteral("halvar-logo.bmp")), "BMP");
    ok &= save(busLogo(146, QStringLiteral("VXI"), QStringLiteral("mainframe")),
               common.filePath(QStringLiteral("vxi-logo.bmp")), "BMP");
    ok &= save(busLogo(121, QStringLiteral("LXI"), QStringLiteral("network")),
               common.filePath(QStringLiteral("lxi-logo.bmp")), "BMP");
    ok &= save(aboutPicture(), common.filePath(QStringLiteral("about.png")), "PNG");
    ok &= save(deviceSplash(), instrument.filePath(QStringLiteral("zr7480fp_splash.bmp")), "BMP");
    ok &= saveDesktopIcons(QString::fromLocal8Bit(argv[3]));
    return ok ? 0 : 1;
}
