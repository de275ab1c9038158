#pragma once

#include <QPixmap>

class zr6200fp_genFC;

// The start-up splash picture from the card's texts: the description with
// " FC" spelled out as " Function Card", the copyright line at the bottom.
QPixmap splashPicture(const zr6200fp_genFC &card);
