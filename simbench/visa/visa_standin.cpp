#include <cstring>

#include "bench.h"
#include "findexpression.h"
#include "visa.h"

using simbench::Call;
using simbench::FindExpression;
using simbench::Session;
using simbench::SessionKind;
using simbench::World;

namespace {

ViStatus findResources(ViSession sesn, const char *expr, ViFindList *vi, ViUInt32 *retCnt, ViChar desc[])
{
    if (vi)
        *vi = VI_NULL;
    if (retCnt)
        *retCnt = 0;
    return simbench::locked([&](World &w) {
        if (!simbench::findSession(w, sesn, SessionKind::ResourceManager))
            return VI_ERROR_INV_OBJECT;
        FindExpression expression;
        const ViStatus compiled = expression.compile(expr);
        if (compiled != VI_SUCCESS)
            return compiled;
        Session list;
        list.kind = SessionKind::FindList;
        list.rm = sesn;
        for (const auto &r : w.bench.resources) {
            if (expression.matches(r->descriptor))
                list.found.push_back(r->descriptor);
        }
        if (list.found.empty())
            return VI_ERROR_RSRC_NFOUND;
        simbench::copyText(desc, VI_FIND_BUFLEN, list.found.front());
        if (retCnt)
            *retCnt = ViUInt32(list.found.size());
        list.next = 1;
        // Without a place for the list there is nothing to close later.
        if (vi)
            *vi = simbench::addSession(w, std::move(list));
        return VI_SUCCESS;
    });
}

ViStatus findNext(ViFindList vi, ViChar desc[])
{
    return simbench::locked([&](World &w) {
        Session *list = simbench::findSession(w, vi, SessionKind::FindList);
        if (!list)
            return VI_ERROR_INV_OBJECT;
        if (!desc)
            return VI_ERROR_USER_BUF;
        if (list->next >= list->found.size())
            return VI_ERROR_RSRC_NFOUND;
        simbench::copyText(desc, VI_FIND_BUFLEN, list->found[list->next++]);
        return VI_SUCCESS;
    });
}

enum class Written { Nothing, Number, Text };

ViStatus getAttribute(ViObject vi, ViAttr attr, void *value, Written *written, long long *number)
{
    std::shared_ptr<const simbench::Resource> resource;
    const ViStatus found = simbench::locked([&](World &w) {
        const auto it = w.sessions.find(vi);
        if (it == w.sessions.end())
            return VI_ERROR_INV_OBJECT;
        if (!value)
            return VI_ERROR_USER_BUF;
        if (it->second.kind != SessionKind::Instrument)
            return VI_ERROR_NSUP_ATTR;
        resource = it->second.resource;
        return VI_SUCCESS;
    });
    if (found != VI_SUCCESS)
        return found;
    // The resource never changes: read it without the lock.
    const simbench::Resource &r = *resource;
    const std::optional<std::string> *text = nullptr;
    switch (attr) {
    case VI_ATTR_INTF_TYPE: {
        const ViUInt16 type = r.intfType;
        std::memcpy(value, &type, sizeof type);
        *number = type;
        *written = Written::Number;
        return VI_SUCCESS;
    }
    case VI_ATTR_SLOT: {
        if (!r.slot)
            return VI_ERROR_NSUP_ATTR;
        const ViInt16 slot = *r.slot;
        std::memcpy(value, &slot, sizeof slot);
        *number = slot;
        *written = Written::Number;
        return VI_SUCCESS;
    }
    case VI_ATTR_TCPIP_ADDR:
        text = &r.address;
        break;
    case VI_ATTR_TCPIP_HOSTNAME:
        text = &r.hostname;
        break;
    case VI_ATTR_TCPIP_DEVICE_NAME:
        text = &r.deviceName;
        break;
    default:
        return VI_ERROR_NSUP_ATTR;
    }
    if (r.intfType != VI_INTF_TCPIP || !*text)
        return VI_ERROR_NSUP_ATTR;
    // String attributes fill at most 256 bytes, the terminator included.
    simbench::copyText(static_cast<char *>(value), 256, **text);
    *written = Written::Text;
    return VI_SUCCESS;
}

} // namespace

extern "C" {

ViStatus viOpenDefaultRM(ViPSession vi)
{
    Call call("viOpenDefaultRM");
    return call.run([&] { return simbench::openDefaultRM(vi); });
}

ViStatus viFindRsrc(ViSession sesn, ViConstString expr, ViPFindList vi, ViPUInt32 retCnt, ViChar desc[])
{
    Call call("viFindRsrc");
    call.arg("sesn", sesn).text("expr", expr);
    bool written = false;
    const ViStatus status = call.forcedOr([&] {
        const ViStatus found = findResources(sesn, expr, vi, retCnt, desc);
        written = found == VI_SUCCESS;
        return found;
    });
    call.buffer("desc", desc, written);
    return call.done(status);
}

ViStatus viFindNext(ViFindList vi, ViChar desc[])
{
    Call call("viFindNext");
    call.arg("vi", vi);
    bool written = false;
    const ViStatus status = call.forcedOr([&] {
        const ViStatus found = findNext(vi, desc);
        written = found == VI_SUCCESS;
        return found;
    });
    call.buffer("desc", desc, written);
    return call.done(status);
}

ViStatus viOpen(ViSession sesn, ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout, ViPSession vi)
{
    Call call("viOpen");
    call.arg("sesn", sesn).text("name", name).arg("mode", mode).arg("timeout", timeout);
    return call.run([&] { return simbench::openResource(sesn, name, vi); });
}

ViStatus viClose(ViObject vi)
{
    Call call("viClose");
    call.arg("vi", vi);
    return call.run([&] { return simbench::closeSession(vi); });
}

ViStatus viGetAttribute(ViObject vi, ViAttr attrName, void *attrValue)
{
    Call call("viGetAttribute");
    call.arg("vi", vi).hex("attr", attrName);
    Written written = Written::Nothing;
    long long number = 0;
    const ViStatus status = call.forcedOr([&] { return getAttribute(vi, attrName, attrValue, &written, &number); });
    if (!attrValue)
        call.text("value", nullptr);
    else if (written == Written::Number)
        call.arg("value", number);
    else
        call.buffer("value", static_cast<const char *>(attrValue), written == Written::Text);
    return call.done(status);
}
}
