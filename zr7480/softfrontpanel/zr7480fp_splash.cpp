#include "zr7480fp_splash.h"

#include "driver/zr6200fp_genFC.h"
#include "splash/zr6200fp_splashLabel.h"

QPixmap splashPicture(const zr6200fp_genFC &card)
{
    QString description = card.getDescription();
    description.replace(QLatin1String(" FC"), QLatin1String(" Function Card"));
    return zr6200fp_splashLabel(1.0f, 20, card.modelCode, true, card.getCopyright(), description);
}
