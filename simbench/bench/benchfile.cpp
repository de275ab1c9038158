#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "bench.h"

namespace simbench {

namespace {

constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;
constexpr std::size_t kMaxSlots = 4096;

// Reads one bench description; the first fault found is kept in error, with
// the place it was found ("resources[2].carrier.slots[0].id: ...").
class BenchParser
{
public:
    bool parse(const QJsonObject &top, Bench *bench);
    std::string error;

private:
    bool fail(const std::string &path, const std::string &what);
    bool checkKeys(const QJsonObject &object, std::initializer_list<const char *> allowed, const std::string &path);
    bool integer(const QJsonValue &value, long long min, long long max, const std::string &path, long long *out);
    bool text(const QJsonValue &value, std::size_t maxLength, const std::string &path, std::string *out);
    bool statuses(const QJsonValue &value, std::map<std::string, ViStatus> *out);
    bool resource(const QJsonValue &value, std::size_t index, const std::string &path, Resource *out);
    bool carrier(const QJsonValue &value, std::size_t resourceIndex, const std::string &path, Carrier *out);
    bool card(const QJsonValue &value, std::size_t resourceIndex, std::size_t slot, const std::string &path, Card *out);
};

bool BenchParser::fail(const std::string &path, const std::string &what)
{
    error = path.empty() ? what : path + ": " + what;
    return false;
}

bool BenchParser::checkKeys(const QJsonObject &object, std::initializer_list<const char *> allowed,
                            const std::string &path)
{
    const QStringList keys = object.keys();
    for (const QString &key : keys) {
        bool known = false;
        for (const char *name : allowed)
            known = known || key == QLatin1String(name);
        if (!known)
            return fail(path, "unknown field \"" + key.toStdString() + "\"");
    }
    return true;
}

bool BenchParser::integer(const QJsonValue &value, long long min, long long max, const std::string &path,
                          long long *out)
{
    const std::string range = "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                              " (a JSON number or a \"0x...\" text)";
    long long result = 0;
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::floor(d) != d || d < double(min) || d > double(max))
            return fail(path, range);
        result = static_cast<long long>(d);
    } else if (value.isString()) {
        const QString s = value.toString();
        if (!s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || s.size() < 3 || s.size() > 10)
            return fail(path, range);
        bool ok = false;
        result = static_cast<long long>(s.mid(2).toULongLong(&ok, 16));
        if (!ok || result < min || result > max)
            return fail(path, range);
    } else {
        return fail(path, range);
    }
    *out = result;
    return true;
}

bool BenchParser::text(const QJsonValue &value, std::size_t maxLength, const std::string &path, std::string *out)
{
    const std::string what = "expected a text of at most " + std::to_string(maxLength) + " Latin-1 characters";
    if (!value.isString())
        return fail(path, what);
    const QString s = value.toString();
    if (std::size_t(s.size()) > maxLength)
        return fail(path, what);
    for (const QChar c : s) {
        if (c.unicode() == 0 || c.unicode() > 0xFF)
            return fail(path, what);
    }
    *out = s.toLatin1().toStdString();
    return true;
}

bool BenchParser::parse(const QJsonObject &top, Bench *bench)
{
    if (!checkKeys(top, {"commonLibRevision", "driverRevision", "statuses", "resources"}, ""))
        return false;
    Bench result;
    // The revisions of every bench that names none, the built-in one included.
    result.commonLibRevision = "6.2.0.3301";
    result.driverRevision = "4.3.0.10110";
    if (top.contains(QLatin1String("commonLibRevision")) &&
        !text(top.value(QLatin1String("commonLibRevision")), 255, "commonLibRevision", &result.commonLibRevision))
        return false;
    if (top.contains(QLatin1String("driverRevision")) &&
        !text(top.value(QLatin1String("driverRevision")), 255, "driverRevision", &result.driverRevision))
        return false;
    if (top.contains(QLatin1String("statuses")) && !statuses(top.value(QLatin1String("statuses")), &result.statuses))
        return false;
    const QJsonValue resources = top.value(QLatin1String("resources"));
    if (!resources.isArray())
        return fail("resources", "expected a list of resources");
    const QJsonArray list = resources.toArray();
    result.resources.reserve(std::size_t(list.size()));
    result.byName.reserve(std::size_t(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const std::string path = "resources[" + std::to_string(i) + "]";
        auto r = std::make_shared<Resource>();
        if (!resource(list.at(i), std::size_t(i), path, r.get()))
            return false;
        std::string key;
        normalizeDescriptor(r->descriptor, &key, nullptr);
        if (!result.byName.emplace(std::move(key), r).second)
            return fail(path + ".descriptor", "names the same resource as an earlier descriptor");
        result.resources.push_back(std::move(r));
    }
    *bench = std::move(result);
    return true;
}

bool BenchParser::statuses(const QJsonValue &value, std::map<std::string, ViStatus> *out)
{
    if (!value.isObject())
        return fail("statuses", "expected an object of operation names and statuses");
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string operation = it.key().toStdString();
        long long status = 0;
        if (!integer(it.value(), -2147483648LL, 0xFFFFFFFFLL, "statuses." + operation, &status))
            return false;
        (*out)[operation] = ViStatus(std::uint32_t(status));
    }
    return true;
}

bool BenchParser::resource(const QJsonValue &value, std::size_t index, const std::string &path, Resource *out)
{
    if (!value.isObject())
        return fail(path, "expected an object");
    const QJsonObject o = value.toObject();
    if (!checkKeys(o,
                   {"descriptor", "interface", "slot", "address", "hostname", "deviceName", "openDelayMs", "openStatus",
                    "carrier"},
                   path))
        return false;
    if (!o.contains(QLatin1String("descriptor")))
        return fail(path, "the descriptor is missing");
    if (!text(o.value(QLatin1String("descriptor")), VI_FIND_BUFLEN - 1, path + ".descriptor", &out->descriptor))
        return false;
    if (!normalizeDescriptor(out->descriptor, nullptr, &out->intfType))
        return fail(path + ".descriptor", "not a VISA resource descriptor");
    if (o.contains(QLatin1String("interface"))) {
        const QString name = o.value(QLatin1String("interface")).toString();
        if (!interfaceByName(name.toStdString(), &out->intfType))
            return fail(path + ".interface", "expected GPIB, VXI, GPIB-VXI, ASRL, PXI, TCPIP or USB");
    }
    long long number = 0;
    if (o.contains(QLatin1String("slot"))) {
        if (!integer(o.value(QLatin1String("slot")), -32768, 32767, path + ".slot", &number))
            return false;
        out->slot = ViInt16(number);
    }
    const std::pair<const char *, std::optional<std::string> *> texts[] = {
        {"address", &out->address}, {"hostname", &out->hostname}, {"deviceName", &out->deviceName}};
    for (const auto &[name, field] : texts) {
        if (o.contains(QLatin1String(name))) {
            std::string s;
            if (!text(o.value(QLatin1String(name)), 1023, path + "." + name, &s))
                return false;
            *field = s;
        }
    }
    if (o.contains(QLatin1String("openDelayMs"))) {
        if (!integer(o.value(QLatin1String("openDelayMs")), 0, 60000, path + ".openDelayMs", &number))
            return false;
        out->openDelayMs = int(number);
    }
    if (o.contains(QLatin1String("openStatus"))) {
        // Negative numbers, or the status's bits as "0xBFFF0011".
        if (!integer(o.value(QLatin1String("openStatus")), -2147483648LL, 0xFFFFFFFFLL, path + ".openStatus", &number))
            return false;
        out->openStatus = ViStatus(std::uint32_t(number));
    }
    const bool slotted =
        out->intfType == VI_INTF_VXI || out->intfType == VI_INTF_GPIB_VXI || out->intfType == VI_INTF_PXI;
    if (out->slot && !slotted)
        return fail(path + ".slot", "only VXI, GPIB-VXI and PXI resources have a slot");
    if ((out->address || out->hostname || out->deviceName) && out->intfType != VI_INTF_TCPIP)
        return fail(path, "address, hostname and deviceName are for TCPIP resources only");
    if (o.contains(QLatin1String("carrier"))) {
        Carrier c;
        if (!carrier(o.value(QLatin1String("carrier")), index, path + ".carrier", &c))
            return false;
        out->carrier = std::move(c);
    }
    return true;
}

bool BenchParser::carrier(const QJsonValue &value, std::size_t resourceIndex, const std::string &path, Carrier *out)
{
    if (!value.isObject())
        return fail(path, "expected an object");
    const QJsonObject o = value.toObject();
    if (!checkKeys(o, {"modelId", "interface1", "slots"}, path))
        return false;
    long long number = 0;
    if (o.contains(QLatin1String("modelId"))) {
        if (!integer(o.value(QLatin1String("modelId")), 0, 0xFFFF, path + ".modelId", &number))
            return false;
        out->modelId = ViUInt16(number);
    }
    if (o.contains(QLatin1String("interface1"))) {
        if (!o.value(QLatin1String("interface1")).isBool())
            return fail(path + ".interface1", "expected true or false");
        out->interface1 = o.value(QLatin1String("interface1")).toBool();
    }
    if (o.contains(QLatin1String("slots"))) {
        if (!o.value(QLatin1String("slots")).isArray())
            return fail(path + ".slots", "expected a list of slots");
        const QJsonArray list = o.value(QLatin1String("slots")).toArray();
        if (std::size_t(list.size()) > kMaxSlots)
            return fail(path + ".slots", "more than " + std::to_string(kMaxSlots) + " slots");
        for (qsizetype k = 0; k < list.size(); ++k) {
            Card c;
            if (!card(list.at(k), resourceIndex, std::size_t(k) + 1, path + ".slots[" + std::to_string(k) + "]", &c))
                return false;
            out->cards.push_back(std::move(c));
        }
    }
    return true;
}

bool BenchParser::card(const QJsonValue &value, std::size_t resourceIndex, std::size_t slot, const std::string &path,
                       Card *out)
{
    if (value.isNull() || (value.isDouble() && value.toDouble() == 0))
        return true;
    if (!value.isObject())
        return fail(path, "expected 0 (empty slot) or an object");
    const QJsonObject o = value.toObject();
    if (!checkKeys(o, {"id", "word252", "serial", "option", "revision"}, path))
        return false;
    if (!o.contains(QLatin1String("id")))
        return fail(path, "the id is missing");
    long long number = 0;
    if (!integer(o.value(QLatin1String("id")), 0, 0xFFFF, path + ".id", &number))
        return false;
    out->id = ViUInt16(number);
    out->serial = ViUInt32(0x74800000u | ((resourceIndex + 1) & 0xFFF) << 8 | (slot & 0xFF));
    out->option = "AA";
    out->revision = "1.0.1.0";
    if (o.contains(QLatin1String("word252"))) {
        if (!text(o.value(QLatin1String("word252")), 2, path + ".word252", &out->word252) || out->word252.size() != 2)
            return fail(path + ".word252", "expected a text of two Latin-1 characters");
    }
    if (o.contains(QLatin1String("serial"))) {
        if (!integer(o.value(QLatin1String("serial")), 0, 0xFFFFFFFFLL, path + ".serial", &number))
            return false;
        out->serial = ViUInt32(number);
    }
    if (o.contains(QLatin1String("option")) &&
        !text(o.value(QLatin1String("option")), 255, path + ".option", &out->option))
        return false;
    if (o.contains(QLatin1String("revision")) &&
        !text(o.value(QLatin1String("revision")), 255, path + ".revision", &out->revision))
        return false;
    return true;
}

} // namespace

bool parseBench(const std::string &json, Bench *bench, std::string *error)
{
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(json.data(), qsizetype(json.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = "not valid JSON at offset " + std::to_string(parseError.offset) + ": " +
                 parseError.errorString().toStdString();
        return false;
    }
    if (!document.isObject()) {
        *error = "expected a JSON object at the top";
        return false;
    }
    BenchParser parser;
    if (!parser.parse(document.object(), bench)) {
        *error = parser.error;
        return false;
    }
    return true;
}

bool loadBenchFile(const char *path, Bench *bench, std::string *error)
{
    if (!path || !*path) {
        *error = "no bench file named";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = std::string("cannot read ") + path;
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad() || content.str().size() > kMaxFileSize) {
        *error = std::string("cannot read ") + path + " (larger than 16 MiB, or a read error)";
        return false;
    }
    if (!parseBench(content.str(), bench, error)) {
        *error = std::string(path) + ": " + *error;
        return false;
    }
    return true;
}

} // namespace simbench
