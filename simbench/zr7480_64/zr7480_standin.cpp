#include <cmath>
#include <cstring>

#include "bench.h"
#include "standin_status.h"
#include "zr7480.h"

using simbench::Call;
using simbench::CardState;
using simbench::Session;
using simbench::SessionKind;
using simbench::World;

namespace {

constexpr ViUInt16 kModelId = 0x7480;
constexpr ViReal64 kDdsMin = 12.5e6;
constexpr ViReal64 kDdsMax = 25e6;
// The smallest buffers a caller of the driver may give, whatever this panel
// gives: 24 bytes for the driver revision, 16 for the instrument revision,
// 4 for the option code. The texts are cut to them.
constexpr std::size_t kDriverRevisionSize = 24;
constexpr std::size_t kInstrumentRevisionSize = 16;
constexpr std::size_t kOptionSize = 4;

const simbench::StatusText kOwnTexts[] = {
    {ZR7480_ERROR_NOT_A_CARRIER,
     "The resource is not a Tervix carrier module; no function card can be reached through it."},
    {ZR7480_ERROR_NO_SUCH_SLOT, "The carrier has no function-card slot with this number."},
    {ZR7480_ERROR_SLOT_EMPTY, "There is no function card in this slot of the carrier."},
    {ZR7480_ERROR_RSRC_LIST, "Several resource descriptors were given; the driver opens one function card at a time."},
    {VI_ERROR_FAIL_ID_QUERY, "Identification query failed: the function card in this slot is not a Tervix 7480."},
    {ZR7480_WARN_NO_RESET, "The session was opened without a reset; the card keeps its earlier configuration."},
    {ZR7480_WARN_RESERVED_FILTER,
     "Filter values 8 to 15 are reserved; the channel was set, but its filter has no defined effect."},
};

bool ddsInRange(ViReal64 frequency)
{
    return frequency >= kDdsMin && frequency <= kDdsMax;
}

// Runs f(session, card state, card) under the bench lock for a session the
// driver opened; any other session is invalid.
template <typename F> ViStatus withCard(ViSession vi, F &&f)
{
    return simbench::locked([&](World &w) {
        Session *session = simbench::findSession(w, vi, SessionKind::Instrument);
        if (!session || session->fcNumber == 0)
            return VI_ERROR_INV_OBJECT;
        CardState &state = w.cards[simbench::cardKey(*session->resource, session->fcNumber)];
        const simbench::Card &card = session->resource->carrier->cards[session->fcNumber - 1];
        return f(state, card);
    });
}

ViStatus initialize(ViRsrc rsrcName, ViUInt16 fcNumber, ViBoolean idQuery, ViBoolean reset, ViSession *vi)
{
    if (!vi)
        return VI_ERROR_PARAMETER5;
    *vi = VI_NULL;
    if (!rsrcName)
        return VI_ERROR_PARAMETER1;
    if (std::strchr(rsrcName, ','))
        return ZR7480_ERROR_RSRC_LIST;
    ViSession rm = VI_NULL;
    simbench::openDefaultRM(&rm);
    ViSession session = VI_NULL;
    const ViStatus opened = simbench::openResource(rm, rsrcName, &session);
    if (opened < VI_SUCCESS) {
        simbench::closeSession(rm);
        return opened;
    }
    const ViStatus checked = simbench::locked([&](World &w) {
        Session *s = simbench::findSession(w, session, SessionKind::Instrument);
        if (!s)
            return VI_ERROR_INV_OBJECT;
        const auto &carrier = s->resource->carrier;
        if (!carrier)
            return ZR7480_ERROR_NOT_A_CARRIER;
        if (fcNumber < 1 || fcNumber > carrier->cards.size())
            return ZR7480_ERROR_NO_SUCH_SLOT;
        const ViUInt16 id = carrier->cards[fcNumber - 1].id;
        if (id == 0)
            return ZR7480_ERROR_SLOT_EMPTY;
        if (idQuery && id != kModelId)
            return VI_ERROR_FAIL_ID_QUERY;
        s->fcNumber = fcNumber;
        if (reset)
            w.cards[simbench::cardKey(*s->resource, fcNumber)] = CardState{};
        return VI_SUCCESS;
    });
    if (checked != VI_SUCCESS) {
        simbench::closeSession(rm);
        return checked;
    }
    *vi = session;
    return reset ? opened : ZR7480_WARN_NO_RESET;
}

ViStatus closeDriverSession(ViSession vi)
{
    if (vi == VI_NULL)
        return VI_WARN_NULL_OBJECT;
    const ViSession rm = simbench::locked([vi](World &w) {
        const Session *session = simbench::findSession(w, vi, SessionKind::Instrument);
        return session && session->fcNumber != 0 ? session->rm : ViSession(VI_NULL);
    });
    if (rm == VI_NULL)
        return VI_ERROR_INV_OBJECT;
    // The driver's own resource manager goes, and the card's session with it.
    return simbench::closeSession(rm);
}

} // namespace

extern "C" {

ViStatus zr7480_init(ViRsrc rsrcName, ViUInt16 fcNumber, ViBoolean idQuery, ViBoolean reset, ViSession *vi)
{
    Call call("zr7480_init");
    call.text("rsrcName", rsrcName).arg("fcNumber", fcNumber).arg("idQuery", idQuery).arg("reset", reset);
    return call.run([&] { return initialize(rsrcName, fcNumber, idQuery, reset, vi); });
}

ViStatus zr7480_configureChannel(ViSession vi, ViInt16 channel, ViUInt16 filter, ViInt16 gain, ViUInt16 output)
{
    Call call("zr7480_configureChannel");
    call.arg("vi", vi).arg("channel", channel).arg("filter", filter).arg("gain", gain).arg("output", output);
    return call.run([&] {
        return withCard(vi, [&](CardState &state, const simbench::Card &) {
            if (channel < 1 || channel > 2)
                return VI_ERROR_PARAMETER2;
            if (filter > 31)
                return VI_ERROR_PARAMETER3;
            if (gain < 0 || gain > 3)
                return VI_ERROR_PARAMETER4;
            if (output > 2)
                return VI_ERROR_PARAMETER5;
            state.channels[channel - 1] = {filter, gain, output};
            return filter >= 8 && filter <= 15 ? ZR7480_WARN_RESERVED_FILTER : VI_SUCCESS;
        });
    });
}

ViStatus zr7480_configureClock(ViSession vi, ViInt16 clockSource, ViReal64 ddsFrequency, ViUInt16 clockDivider,
                               ViUInt16 synchSource, ViUInt16 fpClockOutput, ViUInt16 mbClockOutput)
{
    Call call("zr7480_configureClock");
    call.arg("vi", vi)
        .arg("clockSource", clockSource)
        .real("ddsFrequency", ddsFrequency)
        .arg("clockDivider", clockDivider)
        .arg("synchSource", synchSource)
        .arg("fpClockOutput", fpClockOutput)
        .arg("mbClockOutput", mbClockOutput);
    return call.run([&] {
        return withCard(vi, [&](CardState &state, const simbench::Card &) {
            if (clockSource < 0 || clockSource > 3)
                return VI_ERROR_PARAMETER2;
            // Out of 12.5 to 25 MHz is taken, and shows as a DDS error.
            if (!std::isfinite(ddsFrequency) || ddsFrequency <= 0)
                return VI_ERROR_PARAMETER3;
            if (clockDivider > 4095)
                return VI_ERROR_PARAMETER4;
            if (synchSource > 3)
                return VI_ERROR_PARAMETER5;
            if (fpClockOutput > 3)
                return VI_ERROR_PARAMETER6;
            if (mbClockOutput > 1)
                return VI_ERROR_PARAMETER7;
            state.clockSource = clockSource;
            state.ddsFrequency = ddsFrequency;
            state.clockDivider = clockDivider;
            state.synchSource = synchSource;
            state.fpClockOutput = fpClockOutput;
            state.mbClockOutput = mbClockOutput;
            state.armed = false; // a new clock needs a new arm to synchronise
            return VI_SUCCESS;
        });
    });
}

ViStatus zr7480_configureFpSynch(ViSession vi, ViInt16 mode)
{
    Call call("zr7480_configureFpSynch");
    call.arg("vi", vi).arg("mode", mode);
    return call.run([&] {
        return withCard(vi, [&](CardState &state, const simbench::Card &) {
            if (mode < 0 || mode > 3)
                return VI_ERROR_PARAMETER2;
            state.fpSynchMode = mode;
            return VI_SUCCESS;
        });
    });
}

ViStatus zr7480_arm(ViSession vi)
{
    Call call("zr7480_arm");
    call.arg("vi", vi);
    return call.run([&] {
        return withCard(vi, [](CardState &state, const simbench::Card &) {
            state.armed = true;
            return VI_SUCCESS;
        });
    });
}

ViStatus zr7480_fpSyncPulse(ViSession vi, ViUInt16 edge)
{
    Call call("zr7480_fpSyncPulse");
    call.arg("vi", vi).arg("edge", edge);
    return call.run([&] {
        return withCard(vi, [&](CardState &state, const simbench::Card &) {
            if (edge > 1)
                return VI_ERROR_PARAMETER2;
            ++state.pulses[edge];
            return VI_SUCCESS;
        });
    });
}

ViStatus zr7480_getStatus(ViSession vi, ViUInt16 *syncState, ViInt16 *ddsError)
{
    Call call("zr7480_getStatus");
    call.arg("vi", vi);
    return call.run([&] {
        return withCard(vi, [&](CardState &state, const simbench::Card &) {
            if (!syncState)
                return VI_ERROR_PARAMETER2;
            if (!ddsError)
                return VI_ERROR_PARAMETER3;
            const bool inRange = ddsInRange(state.ddsFrequency);
            *ddsError = inRange ? 0 : -1;
            *syncState = state.armed && inRange ? 0 : 1;
            return VI_SUCCESS;
        });
    });
}

ViStatus zr7480_reset(ViSession vi)
{
    Call call("zr7480_reset");
    call.arg("vi", vi);
    return call.run([&] {
        return withCard(vi, [](CardState &state, const simbench::Card &) {
            state = CardState{};
            return VI_SUCCESS;
        });
    });
}

ViStatus zr7480_error_message(ViSession vi, ViStatus status, ViChar message[])
{
    Call call("zr7480_error_message");
    call.arg("vi", vi).arg("status", status);
    return simbench::writeStatusText(call, kOwnTexts, status, "message", message, ZR7480_ERROR_MESSAGE_SIZE,
                                     VI_ERROR_PARAMETER3);
}

ViStatus zr7480_revision_query(ViSession vi, ViChar driverRevision[], ViChar instrumentRevision[])
{
    Call call("zr7480_revision_query");
    call.arg("vi", vi);
    bool driverWritten = false;
    bool instrumentWritten = false;
    const ViStatus result = call.forcedOr([&] {
        return simbench::locked([&](World &w) {
            const simbench::Card *card = nullptr;
            if (vi != VI_NULL) {
                const Session *session = simbench::findSession(w, vi, SessionKind::Instrument);
                if (!session || session->fcNumber == 0)
                    return VI_ERROR_INV_OBJECT;
                card = &session->resource->carrier->cards[session->fcNumber - 1];
            }
            if (driverRevision) {
                simbench::copyText(driverRevision, kDriverRevisionSize, w.bench.driverRevision);
                driverWritten = true;
            }
            if (!instrumentRevision)
                return VI_SUCCESS;
            // Without a session there is no card to ask.
            if (!card)
                return VI_WARN_NSUP_REV_QUERY;
            simbench::copyText(instrumentRevision, kInstrumentRevisionSize, card->revision);
            instrumentWritten = true;
            return VI_SUCCESS;
        });
    });
    call.buffer("driverRevision", driverRevision, driverWritten)
        .buffer("instrumentRevision", instrumentRevision, instrumentWritten);
    return call.done(result);
}

ViStatus zr7480_getSerialNumber(ViSession vi, ViUInt32 *serialNumber, ViChar option[])
{
    Call call("zr7480_getSerialNumber");
    call.arg("vi", vi);
    bool written = false;
    const ViStatus result = call.forcedOr([&] {
        return withCard(vi, [&](CardState &, const simbench::Card &card) {
            if (!serialNumber)
                return VI_ERROR_PARAMETER2;
            if (!option)
                return VI_ERROR_PARAMETER3;
            *serialNumber = card.serial;
            simbench::copyText(option, kOptionSize, card.option);
            written = true;
            return VI_SUCCESS;
        });
    });
    call.buffer("option", option, written);
    return call.done(result);
}

ViStatus zr7480_close(ViSession vi)
{
    Call call("zr7480_close");
    call.arg("vi", vi);
    return call.run([&] { return closeDriverSession(vi); });
}
}
