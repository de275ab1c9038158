#pragma once

#include <QPixmap>
#include <QString>

// The splash picture of a family member, painted once at construction from
// the common background, the instrument's device picture and three lines of
// text. Afterwards it is an ordinary 520 x 400 pixmap.
class zr6200fp_splashLabel : public QPixmap
{
public:
    zr6200fp_splashLabel(float scale, int margin, int number, bool hex, const QString &bottomText,
                         const QString &middleText);
};
