#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// Small palette pictures held in the program. Each row string uses one
// character per pixel; the palette maps characters to colours and '.' is
// transparent. The icons also carry whole-number enlargements of the same
// pixels, so they stay crisp on high-density screens.
namespace zr6200fp_icons {

// The function-card window icon (16 x 16), used by the frame and the
// connection dialogs.
QImage windowIconImage();
QIcon windowIcon();

// The frame's acquisition buttons (12 x 12) and its help button (20 x 17).
QImage startIconImage();
QImage continuousIconImage();
QImage stopIconImage();
QImage helpIconImage();
QIcon startIcon();
QIcon continuousIcon();
QIcon stopIcon();
QIcon helpIcon();

// A picture shown at its own size in device-independent pixels, smoothly
// enlarged to the screen's pixel density.
QPixmap picture(const QImage &image, qreal devicePixelRatio);
QPixmap picture(const QString &resource, qreal devicePixelRatio);

} // namespace zr6200fp_icons
