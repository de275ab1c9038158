#include "zr7480fp_cardCall.h"

#include <QString>
#include <QtGlobal>
#include <cstdlib>

#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"
#include "zr7480.h"

namespace zr7480fp_cardCall {

void applyStatusRule(ViStatus status)
{
    if (status == VI_SUCCESS)
        return;
    char buffer[ZR7480_ERROR_MESSAGE_SIZE] = {};
    ZR_DRIVER_CALL(zr7480_error_message, VI_NULL, status, buffer);
    const QString text = zr6200fp_driverText::orStatus(zr6200fp_driverText::fromBuffer(buffer), status);
    if (status < 0) {
        // qFatal would abort with a core dump; the panel's contract is a
        // clean end with exit code 1 after the same line.
        qCritical("Operation failed due to [%s]", qUtf8Printable(text));
        std::exit(1);
    }
    qWarning("%s", qUtf8Printable(text));
}

} // namespace zr7480fp_cardCall
