#include "zr6200fp_resourceSearch.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QSet>
#include <QThreadPool>
#include <QTreeWidget>
#include <QtConcurrent>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "zr6200.h"
#include "zr6200fp_descriptorOrder.h"
#include "zr6200fp_driverTrace.h"
#include "zr6200fp_fcSelect.h"
#include "zr6200fp_genFC.h"
#include "zr6200fp_questionBox.h"

namespace {

// VISA's descriptor and attribute texts.
constexpr size_t kVisaTextSize = 256;
constexpr int kMaxPoolThreads = 128;
constexpr quint16 kReadFcWordOffset = 252;

template <typename T> T readAt(const void *base, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(base) + offset, sizeof value);
    return value;
}

// A text the library may have left unterminated.
QString visaText(const char *buffer)
{
    return QString::fromLatin1(buffer, int(strnlen(buffer, kVisaTextSize)));
}

QString slotSuffix(void *carrier, void **interface1, int slot, quint16 displayCode)
{
    if (!interface1 || (displayCode != 0x5902 && displayCode != 0x5938))
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
        char address[kVisaTextSize] = {};
        ZR_DRIVER_CALL(viGetAttribute, vi, VI_ATTR_TCPIP_ADDR, address);
        entry.identity = visaText(address);
        entry.carrierLabel = QStringList{QStringLiteral("%1 - %2 LXI").arg(entry.identity).arg(modelId)};
    } else {
        ViInt16 slot = 0;
        ZR_DRIVER_CALL(viGetAttribute, vi, VI_ATTR_SLOT, &slot);
        entry.identity.clear();
        entry.carrierLabel = QStringList{QStringLiteral("Slot %1 - %2 MB").arg(slot).arg(modelId)};
    }

    const qint32 slotCount = readAt<qint32>(data, ZR6200_DATA_SLOT_COUNT_OFFSET);
    for (int k = 1; k <= slotCount; ++k) {
        const quint16 raw = readAt<quint16>(data, ZR6200_DATA_MODEL_ID_OFFSET + 2 * size_t(k));
        if (raw == 0)
            continue;
        const quint16 display = fcDisplayCode(raw);
        entry.fcRows.append(
            {QStringLiteral("FC %1").arg(k), fcModelText(display, slotSuffix(carrier, interface1, k, display))});
        entry.fcSlotNumbers.append(card->isModelSupported(raw) ? k : 0);
    }
}

} // namespace

quint16 fcDisplayCode(quint16 raw)
{
    switch (raw) {
    case 0x6C6C:
        return 0x5470;
    case 0x8A20:
        return 0x5330;
    case 0xB1E4:
        return 0x5120;
    case 0xB3C4:
        return 0x5121;
    default:
        return (raw & 0xFCFF) == 0x8064 ? 0x5840 : raw;
    }
}

QString fcModelText(quint16 displayCode, const QString &suffix)
{
    return QStringLiteral("%1").arg(displayCode, 4, 16, QLatin1Char(' ')) + suffix;
}

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

int zr6200fp_fcSelect::searchCards()
{
    tree->clear();

    ViSession rm = 0;
    if (ZR_DRIVER_CALL(viOpenDefaultRM, &rm) != VI_SUCCESS) {
        ZR_DRIVER_CALL(viClose, rm);
        return 0;
    }
    ViFindList findList = 0;
    ViUInt32 count = 0;
    char found[kVisaTextSize] = {};
    if (ZR_DRIVER_CALL(viFindRsrc, rm, "?*INSTR", &findList, &count, found) != VI_SUCCESS) {
        ZR_DRIVER_CALL(viClose, rm);
        return 0;
    }
    if (count == 0) {
        ZR_DRIVER_CALL(viClose, findList);
        ZR_DRIVER_CALL(viClose, rm);
        return 0;
    }

    std::vector<resourceEntry> entries;
    ViStatus findStatus = VI_SUCCESS;
    do {
        entries.emplace_back();
        entries.back().descriptor = visaText(found);
        --count;
        findStatus = ZR_DRIVER_CALL(viFindNext, findList, found);
    } while (findStatus == VI_SUCCESS && count != 0);

    // Non-network resources answer at once: query them here; network ones
    // go to the pool while the progress dialog shows.
    std::vector<getResourceInfo_params_t> records(entries.size());
    std::vector<getResourceInfo_params_t *> work;
    work.reserve(records.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        getResourceInfo_params_t &record = records[i];
        record.card = card;
        record.entry = entries[i];
        record.rmSession = rm;
        if (!entries[i].descriptor.toUpper().contains(QLatin1String("TCPIP"))) {
            getResourceInfo(&record);
            record.done = true;
        }
        work.push_back(&record);
    }

    // A pool of the search's own: the global one also serves the raster
    // painter, and filling it would freeze the progress dialog.
    QThreadPool pool;
    pool.setMaxThreadCount(int(std::min<size_t>(work.size(), kMaxPoolThreads)));
    {
        QProgressDialog progress(this);
        progress.setWindowTitle(tr("Tervix %1").arg(card->modelText()));
        progress.setLabelText(tr("Searching..."));
        progress.setCancelButton(nullptr);
        QFutureWatcher<void> watcher;
        connect(&watcher, &QFutureWatcher<void>::finished, &progress, &QProgressDialog::reset);
        connect(&watcher, &QFutureWatcher<void>::progressRangeChanged, &progress, &QProgressDialog::setRange);
        connect(&watcher, &QFutureWatcher<void>::progressValueChanged, &progress, &QProgressDialog::setValue);
        watcher.setFuture(QtConcurrent::map(&pool, work, getResourceInfo));
        progress.exec();
        watcher.waitForFinished();
    }

    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = std::move(records[i].entry);
    records.clear();

    // The same box under several descriptors is listed once, under the first.
    std::vector<resourceEntry> unique;
    QSet<QString> identities;
    for (resourceEntry &entry : entries) {
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

    int selectable = 0;
    std::optional<QString> previousPrefix;
    QTreeWidgetItem *top = nullptr;
    bool capped = false;
    for (const resourceEntry &entry : unique) {
        const int colon = entry.descriptor.indexOf(QLatin1Char(':'));
        const QString prefix = colon < 0 ? entry.descriptor : entry.descriptor.left(colon);
        if (!previousPrefix || prefix != *previousPrefix) {
            top = new QTreeWidgetItem(tree, QStringList{prefix});
            top->setExpanded(true);
            top->setFlags(Qt::ItemIsEnabled);
            previousPrefix = prefix;
        }
        if (entry.carrierLabel.isEmpty())
            continue;
        auto *carrierItem = new QTreeWidgetItem(top, entry.carrierLabel);
        carrierItem->setFlags(Qt::ItemIsEnabled);
        int carrierSelectable = 0;
        for (int j = 0; j < entry.fcRows.size(); ++j) {
            auto *cardItem = new QTreeWidgetItem(carrierItem, entry.fcRows.at(j));
            const int number = entry.fcSlotNumbers.value(j);
            cardItem->setData(0, Qt::StatusTipRole, number);
            cardItem->setData(1, Qt::StatusTipRole, entry.descriptor);
            if (number == 0) {
                cardItem->setFlags(Qt::NoItemFlags);
                continue;
            }
            cardItem->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            descriptor = entry.descriptor;
            fcNumbers[0] = quint16(number);
            ++selectable;
            ++carrierSelectable;
            if (selectable == kMaxCards) {
                askQuestion(QApplication::activeWindow(), selectionTitle(),
                            tr("Found more Function Cards than supported by this SoftFrontPanel. Only first %1 are "
                               "available.\nPlease contact Halvar's support if you need support for more cards.")
                                .arg(kMaxCards),
                            {tr("Continue")});
                capped = true;
                break;
            }
        }
        carrierItem->setExpanded(carrierSelectable > 0);
        if (capped)
            break;
    }

    tree->resizeColumnToContents(0);
    tree->resizeColumnToContents(1);
    ZR_DRIVER_CALL(viClose, findList);
    ZR_DRIVER_CALL(viClose, rm);
    return selectable;
}
