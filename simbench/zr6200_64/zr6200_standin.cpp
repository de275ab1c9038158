#include <cstddef>
#include <cstring>
#include <memory>

#include "bench.h"
#include "standin_status.h"
#include "zr6200.h"

using simbench::Call;
using simbench::SessionKind;
using simbench::World;

namespace {

constexpr int kInterfaceEntries = 8;
constexpr int kFcWordLimit = 256; // bytes of a card's configuration space

struct CarrierPrivate
{
    simbench::Carrier carrier;
    std::vector<unsigned char> block;
    void *interface0[kInterfaceEntries] = {};
    void *interface1[kInterfaceEntries] = {};
};

// The carrier object as callers read it by offset; what follows the
// function pointer is the library's own.
struct CarrierHead
{
    unsigned char *data;
    unsigned char reserved[0x38];
    zr6200_getInterface_t getInterface;
    CarrierPrivate *priv;
};
static_assert(offsetof(CarrierHead, data) == ZR6200_CARRIER_DATA_OFFSET, "carrier layout");
static_assert(offsetof(CarrierHead, getInterface) == ZR6200_CARRIER_GETINTERFACE_OFFSET, "carrier layout");

const simbench::StatusText kOwnTexts[] = {
    {ZR6200_ERROR_NOT_A_CARRIER, "The resource is not a carrier module of the Tervix function-card family."},
    {ZR6200_ERROR_SLOT_EMPTY, "The function-card slot of the carrier is empty."},
};

// Caller holds the bench lock: a carrier is only used while it is registered.
CarrierPrivate *registered(World &w, const void *carrier)
{
    return carrier && w.carriers.count(carrier) ? static_cast<const CarrierHead *>(carrier)->priv : nullptr;
}

ViStatus readFcWord(void *carrier, ViUInt16 slot, int offset, ViUInt16 *result)
{
    Call call("readFcWord");
    call.arg("slot", slot).arg("offset", offset);
    return call.run([&] {
        return simbench::locked([&](World &w) {
            const CarrierPrivate *priv = registered(w, carrier);
            if (!priv)
                return VI_ERROR_PARAMETER1;
            if (slot < 1 || slot > priv->carrier.cards.size())
                return VI_ERROR_PARAMETER2;
            if (offset < 0 || offset >= kFcWordLimit || offset % 2 != 0)
                return VI_ERROR_PARAMETER3;
            if (!result)
                return VI_ERROR_PARAMETER4;
            const simbench::Card &card = priv->carrier.cards[slot - 1];
            if (card.id == 0)
                return ZR6200_ERROR_SLOT_EMPTY;
            if (offset == 0) {
                *result = card.id;
            } else if (offset == 252) {
                const std::string word = card.word252.empty() ? std::string("  ") : card.word252;
                *result = ViUInt16(static_cast<unsigned char>(word[0]) << 8 | static_cast<unsigned char>(word[1]));
            } else {
                *result = 0;
            }
            return VI_SUCCESS;
        });
    });
}

void **getInterface(void *carrier, int index, int version)
{
    Call call("getInterface");
    call.arg("index", index).arg("version", version);
    void **table = simbench::locked([&](World &w) -> void ** {
        CarrierPrivate *priv = registered(w, carrier);
        if (!priv || version != 1)
            return nullptr;
        if (index == 0)
            return priv->interface0;
        if (index == 1 && priv->carrier.interface1)
            return priv->interface1;
        return nullptr;
    });
    call.done(table ? "table" : "NULL");
    return table;
}

std::unique_ptr<CarrierHead> makeCarrier(const simbench::Resource &resource)
{
    auto priv = std::make_unique<CarrierPrivate>();
    priv->carrier = *resource.carrier;
    const auto &cards = priv->carrier.cards;
    priv->block.assign(std::max<std::size_t>(512, ZR6200_DATA_MODEL_ID_OFFSET + 2 * (cards.size() + 1)), 0);
    unsigned char *block = priv->block.data();
    simbench::copyText(reinterpret_cast<char *>(block), ZR6200_DATA_SLOT_COUNT_OFFSET, resource.descriptor);
    const std::int32_t count = std::int32_t(cards.size());
    std::memcpy(block + ZR6200_DATA_SLOT_COUNT_OFFSET, &count, sizeof count);
    std::memcpy(block + ZR6200_DATA_MODEL_ID_OFFSET, &priv->carrier.modelId, sizeof(ViUInt16));
    for (std::size_t k = 1; k <= cards.size(); ++k)
        std::memcpy(block + ZR6200_DATA_MODEL_ID_OFFSET + 2 * k, &cards[k - 1].id, sizeof(ViUInt16));
    const auto reader = reinterpret_cast<void *>(&readFcWord);
    priv->interface0[ZR6200_READFCWORD_ENTRY] = reader;
    priv->interface1[ZR6200_READFCWORD_ENTRY] = reader;

    auto head = std::make_unique<CarrierHead>();
    std::memset(head.get(), 0, sizeof(CarrierHead));
    head->data = block;
    head->getInterface = &getInterface;
    head->priv = priv.release();
    return head;
}

void destroyCarrier(const CarrierHead *head)
{
    delete head->priv;
    delete head;
}

ViStatus carrierInfo(ViSession vi, carrierRequest *request)
{
    if (!request)
        return VI_ERROR_PARAMETER2;
    request->carrier = nullptr;
    std::shared_ptr<const simbench::Resource> resource;
    const ViStatus found = simbench::locked([&](World &w) {
        const simbench::Session *session = simbench::findSession(w, vi, SessionKind::Instrument);
        if (!session)
            return VI_ERROR_INV_OBJECT;
        if (!simbench::findSession(w, request->rmSession, SessionKind::ResourceManager))
            return VI_ERROR_PARAMETER2;
        if (!session->resource->carrier)
            return ZR6200_ERROR_NOT_A_CARRIER;
        resource = session->resource;
        return VI_SUCCESS;
    });
    if (found != VI_SUCCESS)
        return found;
    // Built without the lock; only registering it needs the lock.
    CarrierHead *head = makeCarrier(*resource).release();
    simbench::locked([head](World &w) { w.carriers.insert(head); });
    request->carrier = head;
    return VI_SUCCESS;
}

ViStatus releaseCarrier(carrierRequest *request)
{
    if (!request)
        return VI_ERROR_PARAMETER1;
    if (!request->carrier)
        return VI_WARN_NULL_OBJECT;
    const bool known = simbench::locked([&](World &w) { return w.carriers.erase(request->carrier) == 1; });
    if (!known)
        return VI_ERROR_INV_OBJECT;
    // No longer registered: no other call reaches it now.
    destroyCarrier(static_cast<const CarrierHead *>(request->carrier));
    request->carrier = nullptr;
    return VI_SUCCESS;
}

} // namespace

extern "C" {

ViStatus getCommonLibRevision(char buffer[ZR6200_REVISION_SIZE])
{
    Call call("getCommonLibRevision");
    bool written = false;
    const ViStatus status = call.forcedOr([&] {
        if (!buffer)
            return VI_ERROR_PARAMETER1;
        const std::string revision = simbench::locked([](World &w) { return w.bench.commonLibRevision; });
        simbench::copyText(buffer, ZR6200_REVISION_SIZE, revision);
        written = true;
        return VI_SUCCESS;
    });
    call.buffer("buffer", buffer, written);
    return call.done(status);
}

ViStatus getCarrierInfo(ViSession vi, carrierRequest *request)
{
    Call call("getCarrierInfo");
    call.arg("vi", vi);
    if (request)
        call.arg("rmSession", request->rmSession);
    else
        call.text("request", nullptr);
    return call.run([&] { return carrierInfo(vi, request); });
}

ViStatus releaseCarrierInfo(carrierRequest *request)
{
    Call call("releaseCarrierInfo");
    if (!request)
        call.text("request", nullptr);
    return call.run([&] { return releaseCarrier(request); });
}

ViStatus getStatusText(ViStatus status, char buffer[ZR6200_STATUS_TEXT_SIZE])
{
    Call call("getStatusText");
    call.arg("status", status);
    return simbench::writeStatusText(call, kOwnTexts, status, "buffer", buffer, ZR6200_STATUS_TEXT_SIZE,
                                     VI_ERROR_PARAMETER2);
}
}
