#include "zr7480fp/zr7480fp_splash.h"

#include "driver/zr6200fp_genFC.h"
#include "splash/zr6200fp_splashLabel.h"

namespace zr7480fp_splash {

QPixmap picture(const zr6200fp_genFC &card)
{
    QString description = card.getDescription();
    description.replace(QLatin1String(" FC"), QLatin1String(" Function Card"));
    return zr6200fp_splashLabel(1.0f, 20, card.modelCode, true, card.getCopyright(), description);
}

} // namespace zr7480fp_splash
