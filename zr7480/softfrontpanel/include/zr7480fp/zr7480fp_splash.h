#pragma once

#include <QPixmap>

class zr6200fp_genFC;

namespace zr7480fp_splash {

// The start-up splash picture from the card's texts: the description with
// " FC" spelled out as " Function Card", the copyright line at the bottom.
QPixmap picture(const zr6200fp_genFC &card);

} // namespace zr7480fp_splash
