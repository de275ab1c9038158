#include "core/zr6200fp_resourceCollection.h"

#include <QSet>
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/zr6200fp_cardModels.h"
#include "core/zr6200fp_descriptorOrder.h"
#include "core/zr6200fp_driverText.h"
#include "core/zr6200fp_driverTrace.h"
#include "core/zr6200fp_genFC.h"
#include "zr6200.h"

namespace {

constexpr int kMaxPoolThreads = 128;
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
        getInterface(carrier, 0, 1);
        interface1 = getInterface(carrier, 1, 1);
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

// A pool of the collection's own: the global one also serves the raster
// painter, and filling it would freeze the progress dialog. It is kept from
// one search to the next, because starting and joining up to 128 threads
// costs the GUI thread milliseconds at every search; idle threads end by
// themselves after the pool's expiry time.
QThreadPool &queryPool()
{
    static QThreadPool pool;
    return pool;
}

// The descriptors VISA lists for "?*INSTR", in its order.
std::vector<resourceEntry> enumerate(ViSession rm)
{
    std::vector<resourceEntry> entries;
    ViFindList findList = 0;
    ViUInt32 count = 0;
    char found[VI_FIND_BUFLEN] = {};
    if (ZR_DRIVER_CALL(viFindRsrc, rm, "?*INSTR", &findList, &count, found) != VI_SUCCESS)
        return entries;
    if (count != 0) {
        // The count comes from the library: do not trust it with memory.
        entries.reserve(std::min<ViUInt32>(count, 1u << 16));
        ViStatus findStatus = VI_SUCCESS;
        do {
            entries.emplace_back();
            entries.back().descriptor = zr6200fp_driverText::fromBuffer(found);
            --count;
            findStatus = ZR_DRIVER_CALL(viFindNext, findList, found);
        } while (findStatus == VI_SUCCESS && count != 0);
    }
    ZR_DRIVER_CALL(viClose, findList);
    return entries;
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

std::vector<resourceEntry> collectResources(const zr6200fp_genFC *card, ViSession rm,
                                            const zr6200fp_queryWait &whileQuerying)
{
    std::vector<resourceEntry> entries = enumerate(rm);
    if (entries.empty())
        return entries;

    // Non-network resources answer at once: query them here; network ones
    // go to the pool.
    std::vector<getResourceInfo_params_t> records(entries.size());
    // Each record goes to the pool and comes back through an atomic: the
    // pool's threads outlive a search, and Qt's own hand-offs (its queue and
    // the future's end) happen behind locks ThreadSanitizer cannot see;
    // these it does.
    std::vector<std::atomic<getResourceInfo_params_t *>> work(records.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        getResourceInfo_params_t &record = records[i];
        record.card = card;
        record.entry = std::move(entries[i]);
        record.rmSession = rm;
        if (!record.entry.descriptor.toUpper().contains(QLatin1String("TCPIP"))) {
            getResourceInfo(&record);
            record.done = true;
        }
        work[i].store(&record, std::memory_order_release);
    }

    QThreadPool &pool = queryPool();
    pool.setMaxThreadCount(int(std::min<size_t>(work.size(), kMaxPoolThreads)));
    QFuture<void> queries = QtConcurrent::map(&pool, work, [](std::atomic<getResourceInfo_params_t *> &slot) {
        getResourceInfo_params_t *const record = slot.load(std::memory_order_acquire);
        getResourceInfo(record);
        slot.store(record, std::memory_order_release);
    });
    if (whileQuerying)
        whileQuerying(queries);
    queries.waitForFinished();

    // The same box under several descriptors is listed once, under the first.
    std::vector<resourceEntry> unique;
    unique.reserve(records.size());
    QSet<QString> identities;
    for (std::atomic<getResourceInfo_params_t *> &slot : work) {
        resourceEntry &entry = slot.load(std::memory_order_acquire)->entry;
        if (!entry.identity.isEmpty()) {
            if (identities.contains(entry.identity))
                continue;
            identities.insert(entry.identity);
        }
        unique.push_back(std::move(entry));
    }
    std::stable_sort(unique.begin(), unique.end(), [](const resourceEntry &a, const resourceEntry &b) {
        return descriptorLessThan(a.descriptor, b.descriptor);
    });
    return unique;
}
