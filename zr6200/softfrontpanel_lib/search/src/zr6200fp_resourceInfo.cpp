#include "search/zr6200fp_resourceInfo.h"

#include <cstring>

#include "core/zr6200fp_cardModels.h"
#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"
#include "driver/zr6200fp_genFC.h"
#include "zr6200.h"

namespace {

constexpr quint16 kReadFcWordOffset = 252;

template <typename T> T readAt(const void *base, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(base) + offset, sizeof value);
    return value;
}

QString slotSuffix(void *carrier, void **interface1, int slot, quint16 displayCode)
{
    if (!interface1 || !zr6200fp_cardModels::takesSeveralCards(displayCode))
        return QString();
    zr6200_readFcWord_t readFcWord = nullptr;
    std::memcpy(&readFcWord, &interface1[ZR6200_READFCWORD_ENTRY], sizeof readFcWord);
    if (!readFcWord)
        return QString();
    ViUInt16 word = 0;
    ZR_DRIVER_CALL(readFcWord, carrier, ViUInt16(slot), int(kReadFcWordOffset), &word);
    return QLatin1Char('-') + QChar(QLatin1Char(char(word >> 8))) + QChar(QLatin1Char(char(word & 0xFF)));
}

void fillEntry(resourceEntry &entry, const zr6200fp_genFC *card, ViSession vi, void *carrier)
{
    const auto *data = readAt<const char *>(carrier, ZR6200_CARRIER_DATA_OFFSET);
    const auto getInterface = readAt<zr6200_getInterface_t>(carrier, ZR6200_CARRIER_GETINTERFACE_OFFSET);
    void **interface1 = nullptr;
    if (getInterface) {
        ZR_DRIVER_CALL(getInterface, carrier, 0, 1);
        interface1 = ZR_DRIVER_CALL(getInterface, carrier, 1, 1);
    }

    quint16 modelId = readAt<quint16>(data, ZR6200_DATA_MODEL_ID_OFFSET);
    if (modelId == 1987)
        modelId = 4260;

    ViUInt16 intfType = 0;
    ZR_DRIVER_CALL(viGetAttribute, vi, VI_ATTR_INTF_TYPE, &intfType);
    if (intfType == VI_INTF_TCPIP) {
        char address[VI_FIND_BUFLEN] = {};
        ZR_DRIVER_CALL(viGetAttribute, vi, VI_ATTR_TCPIP_ADDR, address);
        entry.identity = zr6200fp_driverText::fromBuffer(address);
        entry.carrierLabel = QStringList{QStringLiteral("%1 - %2 LXI").arg(entry.identity, QString::number(modelId))};
    } else {
        ViInt16 slot = 0;
        ZR_DRIVER_CALL(viGetAttribute, vi, VI_ATTR_SLOT, &slot);
        entry.identity.clear();
        entry.carrierLabel =
            QStringList{QStringLiteral("Slot %1 - %2 MB").arg(QString::number(slot), QString::number(modelId))};
    }

    const qint32 slotCount = readAt<qint32>(data, ZR6200_DATA_SLOT_COUNT_OFFSET);
    for (int k = 1; k <= slotCount; ++k) {
        const quint16 raw = readAt<quint16>(data, ZR6200_DATA_MODEL_ID_OFFSET + 2 * size_t(k));
        if (raw == 0)
            continue;
        const quint16 display = zr6200fp_cardModels::displayCode(raw);
        entry.fcRows.append({QStringLiteral("FC %1").arg(k),
                             zr6200fp_cardModels::modelText(display) + slotSuffix(carrier, interface1, k, display)});
        entry.fcSlotNumbers.append(card->isModelSupported(raw) ? k : 0);
    }
}

} // namespace

void getResourceInfo(getResourceInfo_params_t *params)
{
    if (params->done)
        return;
    ViSession vi = 0;
    const QByteArray name = params->entry.descriptor.toLatin1();
    if (ZR_DRIVER_CALL(viOpen, params->rmSession, name.constData(), 0, 0, &vi) < 0)
        return;
    carrierRequest request{};
    request.rmSession = params->rmSession;
    if (ZR_DRIVER_CALL(getCarrierInfo, vi, &request) < 0) {
        ZR_DRIVER_CALL(viClose, vi);
        return;
    }
    if (request.carrier) {
        resourceEntry entry = params->entry;
        fillEntry(entry, params->card, vi, request.carrier);
        params->entry = entry;
    }
    ZR_DRIVER_CALL(releaseCarrierInfo, &request);
    ZR_DRIVER_CALL(viClose, vi);
}
