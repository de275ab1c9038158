#pragma once

#include <QIcon>
#include <QImage>

// Small palette pictures held in the program. Each row string uses one
// character per pixel; the palette maps characters to colours and '.' is
// transparent.
namespace zr6200fp_icons {

// The function-card window icon (16 x 16), used by the frame and the
// connection dialogs.
QImage windowIconImage();
QIcon windowIcon();

} // namespace zr6200fp_icons
