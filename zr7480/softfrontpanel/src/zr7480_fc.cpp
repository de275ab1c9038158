#include "zr7480fp/zr7480_fc.h"

#include <algorithm>
#include <cstring>

#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"
#include "zr7480.h"
#include "zr7480fp/zr7480fp_version.h"

namespace {
constexpr quint16 kSupportedModels[] = {0x7480};
}

zr7480_fc::zr7480_fc()
{
    modelCode = 0x7480;
}

bool zr7480_fc::isModelSupported(quint16 code) const
{
    return std::find(std::begin(kSupportedModels), std::end(kSupportedModels), code) != std::end(kSupportedModels);
}

QString zr7480_fc::getDescription() const
{
    return QStringLiteral("2-Channel Filter/Sync FC");
}

QString zr7480_fc::getCopyright() const
{
    return QString::fromLatin1("Copyright \xA9 2004-2012 Halvar GmbH. All rights reserved.");
}

QString zr7480_fc::getSfpRevision() const
{
    return QStringLiteral(ZR_VERSION);
}

QString zr7480_fc::getDriverRevision() const
{
    char revision[ZR7480_DRIVER_REVISION_SIZE] = {};
    ZR_DRIVER_CALL(zr7480_revision_query, VI_NULL, revision, nullptr);
    return zr6200fp_driverText::fromBuffer(revision);
}

QString zr7480_fc::getErrorMessage(ViStatus status) const
{
    char message[ZR7480_ERROR_MESSAGE_SIZE] = {};
    if (ZR_DRIVER_CALL(zr7480_error_message, VI_NULL, status, message) != VI_SUCCESS)
        return QString();
    return zr6200fp_driverText::fromBuffer(message);
}

ViStatus zr7480_fc::init(const char *name, const quint16 *numbers, quint16 idQuery, quint16 reset, ViSession *vi)
{
    return ZR_DRIVER_CALL(zr7480_init, const_cast<ViRsrc>(name), numbers[0], idQuery, reset, vi);
}

ViStatus zr7480_fc::initAndKeep(const char *name, const quint16 *numbers, qint16 count, quint16 idQuery, quint16 reset,
                                ViSession *vi)
{
    std::strncpy(rsrcName, name, kRsrcNameSize - 1);
    rsrcName[kRsrcNameSize - 1] = '\0';
    // The array holds kMaxCards numbers whatever the caller claims.
    const int n = std::clamp<int>(count, 0, kMaxCards);
    std::copy(numbers, numbers + n, fcNumbers);
    return ZR_DRIVER_CALL(zr7480_init, const_cast<ViRsrc>(name), numbers[0], idQuery, reset, vi);
}

ViStatus zr7480_fc::reinit(ViSession *vi)
{
    return ZR_DRIVER_CALL(zr7480_init, rsrcName, fcNumbers[0], 1, 1, vi);
}

ViStatus zr7480_fc::close(ViSession vi)
{
    return ZR_DRIVER_CALL(zr7480_close, vi);
}
