#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "simbench.h"
#include "standin_status.h"
#include "testsupport.h"
#include "visa.h"
#include "zr6200.h"
#include "zr7480.h"

namespace {

const char *const kBench = R"({
  "commonLibRevision": "6.2.0.3301",
  "driverRevision": "4.3.0.10110",
  "resources": [
    { "descriptor": "VXI0::1::INSTR", "slot": 3,
      "carrier": { "modelId": 1987, "slots": [ { "id": "0x7480" }, { "id": "0x5902", "word252": "AB" }, 0 ] } },
    { "descriptor": "TCPIP0::192.0.2.10::INSTR", "address": "192.0.2.10", "hostname": "lxi-7480.example",
      "deviceName": "inst0", "carrier": { "modelId": 1990, "slots": [ { "id": "0x7480" } ] } },
    { "descriptor": "ASRL1::INSTR" },
    { "descriptor": "GPIB-VXI0::24::INSTR", "slot": -1 },
    { "descriptor": "tcpip0::198.51.100.5::inst0::INSTR", "address": "198.51.100.5" },
    { "descriptor": "PXI0::3::INSTR", "interface": "PXI", "slot": 7, "openStatus": 1073676413 },
    { "descriptor": "USB0::0x1234::0x5678::SN1::INSTR", "openStatus": "0xBFFF0072" }
  ]
})";

QStringList findAll(const char *expression, ViStatus *status = nullptr, ViUInt32 *count = nullptr)
{
    QStringList found;
    ViSession rm = VI_NULL;
    viOpenDefaultRM(&rm);
    ViFindList list = VI_NULL;
    ViUInt32 n = 0;
    char desc[VI_FIND_BUFLEN];
    const ViStatus s = viFindRsrc(rm, expression, &list, &n, desc);
    if (status)
        *status = s;
    if (count)
        *count = n;
    if (s == VI_SUCCESS) {
        found << QString::fromLatin1(desc);
        while (viFindNext(list, desc) == VI_SUCCESS)
            found << QString::fromLatin1(desc);
        viClose(list);
    }
    viClose(rm);
    return found;
}

QString statusText(ViStatus status)
{
    return QString::number(status);
}

// A bench of n network carriers, each with a 7480 in slot 1.
QByteArray networkBench(int n, int openDelayMs)
{
    QByteArray json = "{\"resources\":[";
    for (int i = 0; i < n; ++i) {
        json += QStringLiteral("%1{\"descriptor\":\"TCPIP0::203.0.113.%2::INSTR\",\"address\":\"203.0.113.%2\","
                               "\"openDelayMs\":%3,\"carrier\":{\"modelId\":1990,\"slots\":[{\"id\":\"0x7480\"},"
                               "{\"id\":\"0x5902\",\"word252\":\"XY\"}]}}")
                    .arg(i ? "," : "")
                    .arg(i + 1)
                    .arg(openDelayMs)
                    .toLatin1();
    }
    return json + "]}";
}

} // namespace

class tst_SimBench : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    // Threads first: under ThreadSanitizer no thread may start after a child process.
    void openDelayRunsWithoutTheLock();
    void concurrentUse();
    void loadJson_data();
    void loadJson();
    void loadFile();
    void benchFromEnvironment_data();
    void benchFromEnvironment();
    void defaultBench();
    void findExpressions_data();
    void findExpressions();
    void findList();
    void attributes_data();
    void attributes();
    void stringAttributeBound();
    void openResults_data();
    void openResults();
    void closeResourceManagerClosesChildren();
    void forcedStatuses();
    void logFormat();
    void logFile();
};

void tst_SimBench::init()
{
    simbench_reset();
    QCOMPARE(simbench_loadJson(kBench), 0);
    simbench_clearLog();
}

void tst_SimBench::cleanup()
{
    QCOMPARE(simbench_openSessions(), 0);
    QCOMPARE(simbench_carrierObjects(), 0);
}

void tst_SimBench::loadJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error"); // empty: loads
    QTest::addColumn<QStringList>("found");

    QTest::newRow("empty bench") << QByteArray(R"({"resources": []})") << QString() << QStringList();
    QTest::newRow("numbers as hex texts")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::2::INSTR", "slot": "0x0005", "openStatus": "0x3FFF007D",
            "carrier": {"modelId": "0x07C3", "slots": [{"id": "0xffff", "serial": "0xFFFFFFFF"}, null, 0]}}]})")
        << QString() << QStringList{"VXI0::2::INSTR"};
    QTest::newRow("descriptor of 255 characters")
        << QByteArray(R"({"resources": [{"descriptor": "TCPIP0::)" + QByteArray(240, 'h') + R"(::INSTR"}]})")
        << QString() << QStringList{"TCPIP0::" + QString(240, QLatin1Char('h')) + "::INSTR"};
    QTest::newRow("not JSON") << QByteArray("{\"resources\": [") << "not valid JSON" << QStringList();
    QTest::newRow("empty text") << QByteArray("") << "not valid JSON" << QStringList();
    QTest::newRow("binary garbage") << QByteArray("\x01\xff\xfe{[", 5) << "not valid JSON" << QStringList();
    QTest::newRow("top is a list") << QByteArray("[]") << "JSON object" << QStringList();
    QTest::newRow("no resources") << QByteArray("{}") << "resources: expected a list" << QStringList();
    QTest::newRow("unknown field") << QByteArray(R"({"resources": [{"descriptor": "ASRL1::INSTR", "slots": 3}]})")
                                   << "resources[0]: unknown field \"slots\"" << QStringList();
    QTest::newRow("no descriptor") << QByteArray(R"({"resources": [{"slot": 3}]})") << "descriptor is missing"
                                   << QStringList();
    QTest::newRow("descriptor not a text")
        << QByteArray(R"({"resources": [{"descriptor": 5}]})") << "resources[0].descriptor" << QStringList();
    QTest::newRow("descriptor of 256 characters")
        << QByteArray(R"({"resources": [{"descriptor": "TCPIP0::)" + QByteArray(241, 'h') + R"(::INSTR"}]})")
        << "resources[0].descriptor: expected a text of at most 255" << QStringList();
    QTest::newRow("not a descriptor") << QByteArray(R"({"resources": [{"descriptor": "COM1"}]})")
                                      << "not a VISA resource descriptor" << QStringList();
    QTest::newRow("same resource twice")
        << QByteArray(R"({"resources": [{"descriptor": "GPIB0::5::INSTR"}, {"descriptor": "gpib::5"}]})")
        << "resources[1].descriptor: names the same resource" << QStringList();
    QTest::newRow("unknown interface")
        << QByteArray(R"({"resources": [{"descriptor": "ASRL1::INSTR", "interface": "SERIAL"}]})")
        << "resources[0].interface" << QStringList();
    QTest::newRow("slot on a network resource")
        << QByteArray(R"({"resources": [{"descriptor": "TCPIP0::192.0.2.1::INSTR", "slot": 1}]})")
        << "resources[0].slot" << QStringList();
    QTest::newRow("address on a VXI resource")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "address": "192.0.2.1"}]})")
        << "TCPIP resources only" << QStringList();
    QTest::newRow("slot out of range") << QByteArray(
                                              R"({"resources": [{"descriptor": "VXI0::1::INSTR", "slot": 32768}]})")
                                       << "resources[0].slot: expected a whole number" << QStringList();
    QTest::newRow("fractional delay") << QByteArray(
                                             R"({"resources": [{"descriptor": "VXI0::1::INSTR", "openDelayMs": 1.5}]})")
                                      << "openDelayMs" << QStringList();
    QTest::newRow("hex text without digits")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "openStatus": "0x"}]})") << "openStatus"
        << QStringList();
    QTest::newRow("hex text too long")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "openStatus": "0x1BFFF0011"}]})")
        << "openStatus" << QStringList();
    QTest::newRow("id out of range")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "carrier": {"slots": [0, {"id": 65536}]}}]})")
        << "resources[0].carrier.slots[1].id" << QStringList();
    QTest::newRow("card without id")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "carrier": {"slots": [{"option": "AA"}]}}]})")
        << "resources[0].carrier.slots[0]: the id is missing" << QStringList();
    QTest::newRow("word252 of three characters")
        << QByteArray(
               R"({"resources": [{"descriptor": "VXI0::1::INSTR", "carrier": {"slots": [{"id": 1, "word252": "ABC"}]}}]})")
        << "word252" << QStringList();
    QTest::newRow("slot that is a text")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "carrier": {"slots": ["0x7480"]}}]})")
        << "expected 0 (empty slot) or an object" << QStringList();
    QTest::newRow("interface1 not a truth value")
        << QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "carrier": {"interface1": 1}}]})")
        << "interface1" << QStringList();
    QTest::newRow("text beyond Latin-1") << QByteArray(R"({"driverRevision": "4.3\u20ac", "resources": []})")
                                         << "driverRevision" << QStringList();
    QTest::newRow("deep nesting") << QByteArray(100000, '[') << "not valid JSON" << QStringList();
}

void tst_SimBench::loadJson()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QFETCH(QStringList, found);
    const QStringList before = findAll("?*INSTR");
    const int result = simbench_loadJson(json.constData());
    if (error.isEmpty()) {
        QCOMPARE(result, 0);
        QCOMPARE(QString::fromLatin1(simbench_lastError()), QString());
        QCOMPARE(findAll("?*"), found);
    } else {
        QCOMPARE(result, -1);
        const QString lastError = QString::fromLatin1(simbench_lastError());
        QVERIFY2(lastError.contains(error), qPrintable(lastError));
        QCOMPARE(findAll("?*INSTR"), before);
    }
}

void tst_SimBench::loadFile()
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.json");
    QFile file(good);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"resources": [{"descriptor": "GPIB0::9::INSTR"}]})");
    file.close();

    QCOMPARE(simbench_loadFile(QFile::encodeName(good).constData()), 0);
    QCOMPARE(findAll("?*INSTR"), QStringList{"GPIB0::9::INSTR"});

    const QByteArray missing = QFile::encodeName(dir.filePath("missing.json"));
    QCOMPARE(simbench_loadFile(missing.constData()), -1);
    QVERIFY(QString::fromLatin1(simbench_lastError()).contains("cannot read"));
    QCOMPARE(simbench_loadFile(QFile::encodeName(dir.path()).constData()), -1);
    QCOMPARE(simbench_loadFile(nullptr), -1);
    QCOMPARE(simbench_loadJson(nullptr), -1);
    QCOMPARE(findAll("?*INSTR"), QStringList{"GPIB0::9::INSTR"});
}

// A bench file from the environment at start and at every reset; a file
// that does not load leaves an empty bench and says why on stderr.
ZR_SCENARIO(benchFromFile)
{
    for (int round = 0; round < 2; ++round) {
        ViStatus status = VI_SUCCESS;
        const QStringList found = findAll("?*INSTR", &status);
        std::printf("%d %s|%s\n", int(status), qPrintable(found.join(',')), simbench_lastError());
        simbench_reset();
    }
    std::fflush(stdout);
    return 0;
}

void tst_SimBench::benchFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("out");
    QTest::addColumn<bool>("complains");
    const QString good = QStringLiteral("0 GPIB0::1::INSTR,ASRL3::INSTR|\n");
    QTest::newRow("good file") << QByteArray(R"({"resources": [{"descriptor": "GPIB0::1::INSTR"},
                                                                 {"descriptor": "ASRL3::INSTR"}]})")
                               << good + good << false;
    QTest::newRow("malformed file") << QByteArray(R"({"resources": [{"descriptor": )") << QString() << true;
}

void tst_SimBench::benchFromEnvironment()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, out);
    QFETCH(bool, complains);
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.json");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QProcessEnvironment env;
    env.insert("ZR_SIMBENCH_FILE", path);
    const auto result = zrtest::runScenario("benchFromFile", env);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    if (complains) {
        const QString line = QString::number(VI_ERROR_RSRC_NFOUND) + " |" + path + ": not valid JSON";
        QVERIFY2(result.out.startsWith(line), qPrintable(result.out));
        QVERIFY2(result.err.startsWith("simbench: " + path + ": not valid JSON"), qPrintable(result.err));
    } else {
        QCOMPARE(result.out, out);
        QCOMPARE(result.err, QString());
    }
}

void tst_SimBench::defaultBench()
{
    simbench_reset();
    const QStringList found = findAll("?*INSTR");
    QVERIFY(found.size() >= 8);
    int vxi = 0;
    int network = 0;
    int carriers = 0;
    int cards7480 = 0;
    int others = 0;
    QStringList addresses;
    ViSession rm = VI_NULL;
    QCOMPARE(viOpenDefaultRM(&rm), VI_SUCCESS);
    for (const QString &descriptor : found) {
        ViSession vi = VI_NULL;
        if (viOpen(rm, descriptor.toLatin1().constData(), 0, 0, &vi) < VI_SUCCESS)
            continue;
        ViUInt16 intf = 0;
        QCOMPARE(viGetAttribute(vi, VI_ATTR_INTF_TYPE, &intf), VI_SUCCESS);
        if (intf == VI_INTF_TCPIP) {
            char address[256] = {};
            QCOMPARE(viGetAttribute(vi, VI_ATTR_TCPIP_ADDR, address), VI_SUCCESS);
            const QString a = QString::fromLatin1(address);
            QVERIFY2(a.startsWith("192.0.2.") || a.startsWith("198.51.100.") || a.startsWith("203.0.113."),
                     qPrintable(a));
            addresses << a;
        }
        carrierRequest request = {};
        request.rmSession = rm;
        if (getCarrierInfo(vi, &request) == VI_SUCCESS) {
            ++carriers;
            (intf == VI_INTF_TCPIP ? network : vxi)++;
            const auto *data = *static_cast<unsigned char *const *>(request.carrier);
            std::int32_t count = 0;
            std::memcpy(&count, data + ZR6200_DATA_SLOT_COUNT_OFFSET, sizeof count);
            for (int k = 1; k <= count; ++k) {
                ViUInt16 id = 0;
                std::memcpy(&id, data + ZR6200_DATA_MODEL_ID_OFFSET + 2 * k, sizeof id);
                if (id == 0x7480)
                    ++cards7480;
                else if (id != 0)
                    ++others;
            }
            releaseCarrierInfo(&request);
        } else {
            QVERIFY(request.carrier == nullptr);
        }
        viClose(vi);
    }
    viClose(rm);
    QVERIFY(vxi >= 2);
    QVERIFY(network >= 3);
    QVERIFY(carriers < found.size());
    QVERIFY(cards7480 >= 3);
    QVERIFY(others >= 3);
    QVERIFY2(addresses.removeDuplicates() >= 1, "two descriptors must name one box");
}

void tst_SimBench::findExpressions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("found");
    const QStringList all{"VXI0::1::INSTR",
                          "TCPIP0::192.0.2.10::INSTR",
                          "ASRL1::INSTR",
                          "GPIB-VXI0::24::INSTR",
                          "tcpip0::198.51.100.5::inst0::INSTR",
                          "PXI0::3::INSTR",
                          "USB0::0x1234::0x5678::SN1::INSTR"};
    QTest::newRow("all, in bench order") << "?*INSTR" << 0 << all;
    QTest::newRow("any") << "?*" << 0 << all;
    QTest::newRow("network, either case") << "TCPIP?*INSTR" << 0 << QStringList{all[1], all[4]};
    QTest::newRow("lower-case expression") << "tcpip0::192?*" << 0 << QStringList{all[1]};
    QTest::newRow("set and plus") << "VXI[0-9]+::[0-9]+::INSTR" << 0 << QStringList{all[0]};
    QTest::newRow("negated set") << "[^TV]?*INSTR" << 0 << QStringList{all[2], all[3], all[5], all[6]};
    QTest::newRow("alternatives") << "ASRL?*|PXI?*" << 0 << QStringList{all[2], all[5]};
    QTest::newRow("escaped literal") << "ASRL1\\:\\:INSTR" << 0 << QStringList{all[2]};
    QTest::newRow("whole descriptor only") << "VXI0::1" << int(VI_ERROR_RSRC_NFOUND) << QStringList();
    QTest::newRow("nothing matches") << "GPIB0::?*" << int(VI_ERROR_RSRC_NFOUND) << QStringList();
    QTest::newRow("star first") << "*INSTR" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("double star") << "?**" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("open set") << "[ABC" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("reversed range") << "[9-0]?*" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("group") << "(VXI|GPIB)?*" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("attribute test") << "?*INSTR{VI_ATTR_SLOT == 3}" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("empty alternative") << "?*|" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("empty") << "" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("trailing backslash") << "?*\\" << int(VI_ERROR_INV_EXPR) << QStringList();
    QTest::newRow("many stars stay fast")
        << QString("?*").repeated(200) + "X" << int(VI_ERROR_RSRC_NFOUND) << QStringList();
}

void tst_SimBench::findExpressions()
{
    QFETCH(QString, expression);
    QFETCH(int, status);
    QFETCH(QStringList, found);
    ViStatus actual = VI_SUCCESS;
    ViUInt32 count = 99;
    QCOMPARE(findAll(expression.toLatin1().constData(), &actual, &count), found);
    QCOMPARE(actual, status);
    QCOMPARE(count, ViUInt32(found.size()));
}

void tst_SimBench::findList()
{
    ViSession rm = VI_NULL;
    QCOMPARE(viOpenDefaultRM(&rm), VI_SUCCESS);
    ViFindList list = 123;
    ViUInt32 count = 0;
    char desc[VI_FIND_BUFLEN];
    QCOMPARE(viFindRsrc(rm, "VXI?*|ASRL?*", &list, &count, desc), VI_SUCCESS);
    QCOMPARE(count, 2u);
    QCOMPARE(simbench_openSessions(), 2);
    QCOMPARE(desc, "VXI0::1::INSTR");
    QCOMPARE(viFindNext(list, desc), VI_SUCCESS);
    QCOMPARE(desc, "ASRL1::INSTR");
    std::strcpy(desc, "untouched");
    QCOMPARE(viFindNext(list, desc), VI_ERROR_RSRC_NFOUND);
    QCOMPARE(viFindNext(list, desc), VI_ERROR_RSRC_NFOUND);
    QCOMPARE(desc, "untouched");
    QCOMPARE(viFindNext(list, nullptr), VI_ERROR_USER_BUF);
    QCOMPARE(viFindNext(rm, desc), VI_ERROR_INV_OBJECT);
    QCOMPARE(viClose(list), VI_SUCCESS);
    QCOMPARE(viFindNext(list, desc), VI_ERROR_INV_OBJECT);

    // A list the bench replaced meanwhile keeps what it found.
    QCOMPARE(viFindRsrc(rm, "?*", &list, &count, desc), VI_SUCCESS);
    QCOMPARE(simbench_loadJson(R"({"resources": []})"), 0);
    QCOMPARE(viFindNext(list, desc), VI_SUCCESS);
    QCOMPARE(desc, "TCPIP0::192.0.2.10::INSTR");
    QCOMPARE(viClose(list), VI_SUCCESS);

    // Nothing found: no list is made, count and list are cleared.
    list = 77;
    count = 77;
    QCOMPARE(viFindRsrc(rm, "?*", &list, &count, desc), VI_ERROR_RSRC_NFOUND);
    QCOMPARE(list, ViFindList(VI_NULL));
    QCOMPARE(count, 0u);
    QCOMPARE(simbench_openSessions(), 1);

    // Optional outputs, and sessions that are no resource manager.
    QCOMPARE(simbench_loadJson(kBench), 0);
    QCOMPARE(viFindRsrc(rm, "?*", nullptr, nullptr, nullptr), VI_SUCCESS);
    QCOMPARE(simbench_openSessions(), 1);
    QCOMPARE(viFindRsrc(4711, "?*", &list, &count, desc), VI_ERROR_INV_OBJECT);
    QCOMPARE(viFindRsrc(rm, nullptr, &list, &count, desc), VI_ERROR_INV_EXPR);
    QCOMPARE(viClose(rm), VI_SUCCESS);
    QCOMPARE(viFindRsrc(rm, "?*", &list, &count, desc), VI_ERROR_INV_OBJECT);
}

void tst_SimBench::attributes_data()
{
    QTest::addColumn<QString>("descriptor");
    QTest::addColumn<uint>("attribute");
    QTest::addColumn<int>("status");
    QTest::addColumn<QVariant>("value"); // int for numbers, QByteArray for texts

    const uint intf = VI_ATTR_INTF_TYPE;
    const uint slot = VI_ATTR_SLOT;
    const uint addr = VI_ATTR_TCPIP_ADDR;
    const uint host = VI_ATTR_TCPIP_HOSTNAME;
    const uint device = VI_ATTR_TCPIP_DEVICE_NAME;
    const int nsup = VI_ERROR_NSUP_ATTR;
    QTest::newRow("VXI type") << "VXI0::1::INSTR" << intf << 0 << QVariant(VI_INTF_VXI);
    QTest::newRow("VXI slot") << "VXI0::1::INSTR" << slot << 0 << QVariant(3);
    QTest::newRow("VXI address") << "VXI0::1::INSTR" << addr << nsup << QVariant();
    QTest::newRow("GPIB-VXI type") << "GPIB-VXI0::24::INSTR" << intf << 0 << QVariant(VI_INTF_GPIB_VXI);
    QTest::newRow("negative slot") << "GPIB-VXI0::24::INSTR" << slot << 0 << QVariant(-1);
    QTest::newRow("PXI type from the file") << "PXI0::3::INSTR" << intf << 0 << QVariant(VI_INTF_PXI);
    QTest::newRow("LXI type") << "TCPIP0::192.0.2.10::INSTR" << intf << 0 << QVariant(VI_INTF_TCPIP);
    QTest::newRow("LXI slot") << "TCPIP0::192.0.2.10::INSTR" << slot << nsup << QVariant();
    QTest::newRow("LXI address") << "TCPIP0::192.0.2.10::INSTR" << addr << 0 << QVariant(QByteArray("192.0.2.10"));
    QTest::newRow("LXI host") << "TCPIP0::192.0.2.10::INSTR" << host << 0 << QVariant(QByteArray("lxi-7480.example"));
    QTest::newRow("LXI device") << "TCPIP0::192.0.2.10::INSTR" << device << 0 << QVariant(QByteArray("inst0"));
    QTest::newRow("LXI without host name") << "TCPIP0::198.51.100.5::inst0::INSTR" << host << nsup << QVariant();
    QTest::newRow("serial type") << "ASRL1::INSTR" << intf << 0 << QVariant(VI_INTF_ASRL);
    QTest::newRow("serial slot") << "ASRL1::INSTR" << slot << nsup << QVariant();
    QTest::newRow("USB type") << "USB0::0x1234::0x5678::SN1::INSTR" << intf << 0 << QVariant(VI_INTF_USB);
    QTest::newRow("unknown attribute") << "VXI0::1::INSTR" << 0x3FFF0001u << nsup << QVariant();
}

void tst_SimBench::attributes()
{
    QFETCH(QString, descriptor);
    QFETCH(uint, attribute);
    QFETCH(int, status);
    QFETCH(QVariant, value);
    simbench_clearStatuses();
    QVERIFY(simbench_loadJson(QByteArray(kBench).replace("\"0xBFFF0072\"", "0").constData()) == 0);
    ViSession rm = VI_NULL;
    viOpenDefaultRM(&rm);
    ViSession vi = VI_NULL;
    QVERIFY(viOpen(rm, descriptor.toLatin1().constData(), 0, 0, &vi) >= VI_SUCCESS);
    char buffer[300];
    std::memset(buffer, '#', sizeof buffer);
    QCOMPARE(viGetAttribute(vi, attribute, buffer), status);
    if (value.typeId() == QMetaType::QByteArray) {
        QCOMPARE(QByteArray(buffer), value.toByteArray());
    } else if (value.isValid()) {
        // 16-bit attributes write two bytes and no more.
        ViInt16 number = 0;
        std::memcpy(&number, buffer, sizeof number);
        QCOMPARE(int(number), value.toInt());
        QCOMPARE(buffer[2], '#');
    } else {
        QCOMPARE(buffer[0], '#');
    }
    // The resource manager and invalid sessions have none of these.
    QCOMPARE(viGetAttribute(rm, attribute, buffer), VI_ERROR_NSUP_ATTR);
    QCOMPARE(viGetAttribute(vi, attribute, nullptr), VI_ERROR_USER_BUF);
    viClose(rm);
    QCOMPARE(viGetAttribute(vi, attribute, buffer), VI_ERROR_INV_OBJECT);
}

void tst_SimBench::stringAttributeBound()
{
    const QByteArray longName(1000, 'n');
    QCOMPARE(simbench_loadJson(R"({"resources": [{"descriptor": "TCPIP0::192.0.2.7::INSTR",
              "address": "192.0.2.7", "hostname": ")" +
                               longName + R"("}]})"),
             0);
    ViSession rm = VI_NULL;
    viOpenDefaultRM(&rm);
    ViSession vi = VI_NULL;
    QCOMPARE(viOpen(rm, "TCPIP0::192.0.2.7::INSTR", 0, 0, &vi), VI_SUCCESS);
    char buffer[400];
    std::memset(buffer, '#', sizeof buffer);
    QCOMPARE(viGetAttribute(vi, VI_ATTR_TCPIP_HOSTNAME, buffer), VI_SUCCESS);
    QCOMPARE(QByteArray(buffer), longName.left(255));
    QCOMPARE(buffer[255], '\0');
    QCOMPARE(QByteArray(buffer + 256, 144), QByteArray(144, '#'));
    viClose(rm);
}

void tst_SimBench::openResults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("opens");
    QTest::newRow("listed") << "VXI0::1::INSTR" << 0 << true;
    QTest::newRow("any case, board 0 implied, class implied") << "vxi::1" << 0 << true;
    QTest::newRow("listed in lower case") << "TCPIP0::198.51.100.5::INST0::INSTR" << 0 << true;
    QTest::newRow("opens with a warning") << "PXI0::3::INSTR" << int(VI_SUCCESS_DEV_NPRESENT) << true;
    QTest::newRow("fails as the file says") << "USB0::0x1234::0x5678::SN1::INSTR" << int(VI_ERROR_RSRC_BUSY) << false;
    QTest::newRow("not on the bench") << "VXI0::2::INSTR" << int(VI_ERROR_RSRC_NFOUND) << false;
    QTest::newRow("other board") << "VXI1::1::INSTR" << int(VI_ERROR_RSRC_NFOUND) << false;
    QTest::newRow("not a descriptor") << "hello" << int(VI_ERROR_INV_RSRC_NAME) << false;
    QTest::newRow("empty") << "" << int(VI_ERROR_INV_RSRC_NAME) << false;
    QTest::newRow("blank inside") << "VXI0:: 1::INSTR" << int(VI_ERROR_INV_RSRC_NAME) << false;
    QTest::newRow("list of two") << "VXI0::1::INSTR,ASRL1::INSTR" << int(VI_ERROR_INV_RSRC_NAME) << false;
    QTest::newRow("empty part") << "VXI0::::INSTR" << int(VI_ERROR_INV_RSRC_NAME) << false;
    QTest::newRow("unknown interface") << "FOO0::1::INSTR" << int(VI_ERROR_INV_RSRC_NAME) << false;
    QTest::newRow("very long") << "TCPIP0::" + QString(5000, 'x') + "::INSTR" << int(VI_ERROR_RSRC_NFOUND) << false;
}

void tst_SimBench::openResults()
{
    QFETCH(QString, name);
    QFETCH(int, status);
    QFETCH(bool, opens);
    ViSession rm = VI_NULL;
    QCOMPARE(viOpenDefaultRM(&rm), VI_SUCCESS);
    ViSession vi = 4711;
    QCOMPARE(viOpen(rm, name.toLatin1().constData(), 0, 0, &vi), status);
    QCOMPARE(vi != VI_NULL, opens);
    QCOMPARE(simbench_openSessions(), opens ? 2 : 1);
    if (opens) {
        QVERIFY(vi != rm);
        QCOMPARE(viClose(vi), VI_SUCCESS);
        QCOMPARE(viClose(vi), VI_ERROR_INV_OBJECT);
    }
    QCOMPARE(viOpen(vi + 1000, name.toLatin1().constData(), 0, 0, &vi), VI_ERROR_INV_OBJECT);
    QCOMPARE(viOpen(rm, nullptr, 0, 0, &vi), VI_ERROR_INV_RSRC_NAME);
    QCOMPARE(viOpen(rm, "VXI0::1::INSTR", 0, 0, nullptr), VI_ERROR_USER_BUF);
    QCOMPARE(viClose(rm), VI_SUCCESS);
    QCOMPARE(viClose(VI_NULL), VI_WARN_NULL_OBJECT);
    QCOMPARE(viOpenDefaultRM(nullptr), VI_ERROR_USER_BUF);
}

void tst_SimBench::openDelayRunsWithoutTheLock()
{
    QCOMPARE(simbench_loadJson(R"({"resources": [
        {"descriptor": "TCPIP0::192.0.2.20::INSTR", "openDelayMs": 800},
        {"descriptor": "TCPIP0::192.0.2.21::INSTR", "openDelayMs": 300, "openStatus": "0xBFFF0015"}]})"),
             0);
    ViSession rm = VI_NULL;
    viOpenDefaultRM(&rm);
    std::atomic<bool> slowDone{false};
    ViSession slow = VI_NULL;
    ViStatus slowStatus = -1;
    QElapsedTimer timer;
    timer.start();
    std::thread opener([&] {
        slowStatus = viOpen(rm, "TCPIP0::192.0.2.20::INSTR", 0, 0, &slow);
        slowDone = true;
    });
    // While one open waits, the bench answers everybody else.
    ViSession other = VI_NULL;
    QCOMPARE(viOpenDefaultRM(&other), VI_SUCCESS);
    QCOMPARE(viClose(other), VI_SUCCESS);
    QVERIFY(simbench_logCount() >= 2);
    QVERIFY(!slowDone);
    opener.join();
    QVERIFY(timer.elapsed() >= 800);
    QCOMPARE(slowStatus, VI_SUCCESS);
    QVERIFY(slow != VI_NULL);

    // A failing open takes its time too, and opens nothing.
    timer.restart();
    ViSession failed = 99;
    QCOMPARE(viOpen(rm, "TCPIP0::192.0.2.21::INSTR", 0, 0, &failed), VI_ERROR_TMO);
    QVERIFY(timer.elapsed() >= 300);
    QCOMPARE(failed, ViSession(VI_NULL));
    QCOMPARE(simbench_openSessions(), 2);
    viClose(rm);
}

void tst_SimBench::closeResourceManagerClosesChildren()
{
    ViSession rm1 = VI_NULL;
    ViSession rm2 = VI_NULL;
    viOpenDefaultRM(&rm1);
    viOpenDefaultRM(&rm2);
    QVERIFY(rm1 != rm2);
    ViSession a = VI_NULL;
    ViSession b = VI_NULL;
    ViSession c = VI_NULL;
    ViFindList list = VI_NULL;
    QCOMPARE(viOpen(rm1, "VXI0::1::INSTR", 0, 0, &a), VI_SUCCESS);
    QCOMPARE(viOpen(rm1, "VXI0::1::INSTR", 0, 0, &b), VI_SUCCESS);
    QCOMPARE(viOpen(rm2, "ASRL1::INSTR", 0, 0, &c), VI_SUCCESS);
    QCOMPARE(viFindRsrc(rm1, "?*", &list, nullptr, nullptr), VI_SUCCESS);
    QVERIFY(a != b);
    QCOMPARE(simbench_openSessions(), 6);
    QCOMPARE(viClose(rm1), VI_SUCCESS);
    QCOMPARE(simbench_openSessions(), 2);
    QCOMPARE(viClose(a), VI_ERROR_INV_OBJECT);
    QCOMPARE(viClose(list), VI_ERROR_INV_OBJECT);
    ViUInt16 intf = 0;
    QCOMPARE(viGetAttribute(c, VI_ATTR_INTF_TYPE, &intf), VI_SUCCESS);
    QCOMPARE(viClose(rm2), VI_SUCCESS);
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_SimBench::forcedStatuses()
{
    simbench_setStatus("viOpen", VI_ERROR_TMO);
    simbench_setStatus("zr7480_arm", VI_WARN_NSUP_RESET);
    simbench_setStatus("getStatusText", VI_ERROR_SYSTEM_ERROR);
    ViSession rm = VI_NULL;
    QCOMPARE(viOpenDefaultRM(&rm), VI_SUCCESS);
    ViSession vi = 4711;
    QCOMPARE(viOpen(rm, "VXI0::1::INSTR", 0, 0, &vi), VI_ERROR_TMO);
    QCOMPARE(vi, ViSession(4711));
    QCOMPARE(simbench_openSessions(), 1);
    QCOMPARE(zr7480_arm(12345), VI_WARN_NSUP_RESET);
    char text[1024];
    std::strcpy(text, "untouched");
    QCOMPARE(getStatusText(VI_ERROR_TMO, text), VI_ERROR_SYSTEM_ERROR);
    QCOMPARE(text, "untouched");
    // The driver's own VISA calls are not forced.
    ViSession driver = VI_NULL;
    QCOMPARE(zr7480_init(const_cast<ViRsrc>("VXI0::1::INSTR"), 1, 1, 1, &driver), VI_SUCCESS);
    QCOMPARE(zr7480_close(driver), VI_SUCCESS);

    const QStringList log = zrtest::benchLog();
    QCOMPARE(
        log.at(1),
        QStringLiteral("viOpen(sesn=%1, name=\"VXI0::1::INSTR\", mode=0, timeout=0) -> %2").arg(rm).arg(VI_ERROR_TMO));
    QCOMPARE(log.at(2), QStringLiteral("zr7480_arm(vi=12345) -> %1").arg(VI_WARN_NSUP_RESET));
    QCOMPARE(log.at(3),
             QStringLiteral("getStatusText(status=%1, buffer=-) -> %2").arg(VI_ERROR_TMO).arg(VI_ERROR_SYSTEM_ERROR));

    // A forced success does nothing either.
    simbench_setStatus("viOpenDefaultRM", VI_SUCCESS);
    ViSession none = 55;
    QCOMPARE(viOpenDefaultRM(&none), VI_SUCCESS);
    QCOMPARE(none, ViSession(55));

    simbench_clearStatuses();
    QCOMPARE(viOpen(rm, "VXI0::1::INSTR", 0, 0, &vi), VI_SUCCESS);
    simbench_setStatus("viClose", VI_ERROR_SYSTEM_ERROR);
    QCOMPARE(viClose(rm), VI_ERROR_SYSTEM_ERROR);
    simbench_reset();
    QCOMPARE(viClose(rm), VI_ERROR_INV_OBJECT); // reset forgot the forced status and the sessions
}

void tst_SimBench::logFormat()
{
    ViSession rm = VI_NULL;
    viOpenDefaultRM(&rm);
    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    char desc[VI_FIND_BUFLEN];
    viFindRsrc(rm, "?*INSTR", &list, &count, desc);
    viFindNext(list, desc);
    ViSession vi = VI_NULL;
    viOpen(rm, "TCPIP0::192.0.2.10::INSTR", 0, 0, &vi);
    ViUInt16 intf = 0;
    viGetAttribute(vi, VI_ATTR_INTF_TYPE, &intf);
    char address[256];
    viGetAttribute(vi, VI_ATTR_TCPIP_ADDR, address);
    ViInt16 slot = 0;
    viGetAttribute(vi, VI_ATTR_SLOT, &slot);
    carrierRequest request = {};
    request.rmSession = rm;
    getCarrierInfo(vi, &request);
    auto getInterface = *reinterpret_cast<zr6200_getInterface_t *>(static_cast<char *>(request.carrier) +
                                                                   ZR6200_CARRIER_GETINTERFACE_OFFSET);
    void **table = getInterface(request.carrier, 1, 1);
    ViUInt16 word = 0;
    reinterpret_cast<zr6200_readFcWord_t>(table[ZR6200_READFCWORD_ENTRY])(request.carrier, 1, 252, &word);
    releaseCarrierInfo(&request);
    viClose(vi);
    viClose(list);
    viClose(rm);
    ViSession driver = VI_NULL;
    zr7480_init(const_cast<ViRsrc>("VXI0::1::INSTR"), 1, 1, 1, &driver);
    zr7480_configureClock(driver, 3, 12.5e6, 4, 0, 0, 0);
    zr7480_configureClock(driver, 0, 1.0 / 3, 4, 0, 0, 0);
    char message[ZR7480_ERROR_MESSAGE_SIZE];
    zr7480_error_message(VI_NULL, ZR7480_ERROR_SLOT_EMPTY, message);
    char revision[ZR7480_DRIVER_REVISION_SIZE];
    zr7480_revision_query(VI_NULL, revision, nullptr);
    zr7480_close(driver);
    viOpen(rm, "say \"hi\"\n", 0, 0, &vi);

    const QStringList expected{
        "viOpenDefaultRM() -> 0",
        "viFindRsrc(sesn=1, expr=\"?*INSTR\", desc=\"VXI0::1::INSTR\") -> 0",
        "viFindNext(vi=2, desc=\"TCPIP0::192.0.2.10::INSTR\") -> 0",
        "viOpen(sesn=1, name=\"TCPIP0::192.0.2.10::INSTR\", mode=0, timeout=0) -> 0",
        "viGetAttribute(vi=3, attr=0x3FFF0171, value=6) -> 0",
        "viGetAttribute(vi=3, attr=0xBFFF0195, value=\"192.0.2.10\") -> 0",
        "viGetAttribute(vi=3, attr=0x3FFF00E8, value=-) -> " + statusText(VI_ERROR_NSUP_ATTR),
        "getCarrierInfo(vi=3, rmSession=1) -> 0",
        "getInterface(index=1, version=1) -> table",
        "readFcWord(slot=1, offset=252) -> 0",
        "releaseCarrierInfo() -> 0",
        "viClose(vi=3) -> 0",
        "viClose(vi=2) -> 0",
        "viClose(vi=1) -> 0",
        "zr7480_init(rsrcName=\"VXI0::1::INSTR\", fcNumber=1, idQuery=1, reset=1) -> 0",
        "zr7480_configureClock(vi=5, clockSource=3, ddsFrequency=12500000, clockDivider=4, synchSource=0, "
        "fpClockOutput=0, mbClockOutput=0) -> 0",
        "zr7480_configureClock(vi=5, clockSource=0, ddsFrequency=0.3333333333, clockDivider=4, synchSource=0, "
        "fpClockOutput=0, mbClockOutput=0) -> 0",
        "zr7480_error_message(vi=0, status=" + statusText(ZR7480_ERROR_SLOT_EMPTY) + ", message=\"" +
            QString::fromLatin1(message) + "\") -> 0",
        "zr7480_revision_query(vi=0, driverRevision=\"4.3.0.10110\", instrumentRevision=NULL) -> 0",
        "zr7480_close(vi=5) -> 0",
        "viOpen(sesn=1, name=\"say \\\"hi\\\"\\x0A\", mode=0, timeout=0) -> " + statusText(VI_ERROR_INV_OBJECT),
    };
    const QStringList log = zrtest::benchLog();
    QCOMPARE(log.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(log.at(i), expected.at(i));

    // Reading lines: the full length comes back whatever the buffer.
    char small[8];
    QCOMPARE(simbench_logLine(0, small, sizeof small), std::strlen("viOpenDefaultRM() -> 0"));
    QCOMPARE(small, "viOpenD");
    QCOMPARE(simbench_logLine(9999, small, sizeof small), size_t(0));
    QCOMPARE(small, "");
    simbench_clearLog();
    QCOMPARE(simbench_logCount(), size_t(0));
}

// Appends to the log file line by line; ends without any clean-up, so only
// what was flushed per line reaches the file.
ZR_SCENARIO(logToFile)
{
    simbench_reset();
    ViSession rm = VI_NULL;
    viOpenDefaultRM(&rm);
    viClose(rm);
    std::_Exit(3);
}

void tst_SimBench::logFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("calls.log");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("earlier line\n");
    file.close();
    QProcessEnvironment env;
    env.insert("ZR_SIMBENCH_LOG", path);
    const auto result = zrtest::runScenario("logToFile", env);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 3);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier line\nviOpenDefaultRM() -> 0\nviClose(vi=1) -> 0\n"));

    // A log file that cannot be written is reported and the log in memory goes on.
    env.insert("ZR_SIMBENCH_LOG", dir.filePath("no/such/folder/calls.log"));
    const auto unwritable = zrtest::runScenario("logToFile", env);
    QCOMPARE(unwritable.exitCode, 3);
    QVERIFY2(unwritable.err.startsWith("simbench: cannot append to "), qPrintable(unwritable.err));
}

void tst_SimBench::concurrentUse()
{
    constexpr int kThreads = 128;
    constexpr int kResources = 32;
    constexpr int kRounds = 4;
    QCOMPARE(simbench_loadJson(networkBench(kResources, 1).constData()), 0);
    std::atomic<int> failures{0};
    std::atomic<int> calls{0};
    std::atomic<int> suffixes{0};
    ViSession rm = VI_NULL;
    QCOMPARE(viOpenDefaultRM(&rm), VI_SUCCESS);
    simbench_clearLog();

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            auto check = [&](bool ok) {
                ++calls;
                if (!ok)
                    ++failures;
            };
            for (int round = 0; round < kRounds; ++round) {
                const QByteArray name =
                    QStringLiteral("TCPIP0::203.0.113.%1::INSTR").arg((t + round) % kResources + 1).toLatin1();
                ViSession vi = VI_NULL;
                check(viOpen(rm, name.constData(), 0, 0, &vi) == VI_SUCCESS);
                ViUInt16 intf = 0;
                check(viGetAttribute(vi, VI_ATTR_INTF_TYPE, &intf) == VI_SUCCESS && intf == VI_INTF_TCPIP);
                char address[256] = {};
                check(viGetAttribute(vi, VI_ATTR_TCPIP_ADDR, address) == VI_SUCCESS &&
                      name.contains(QByteArray("::") + address + "::"));
                carrierRequest request = {};
                request.rmSession = rm;
                check(getCarrierInfo(vi, &request) == VI_SUCCESS);
                auto *object = static_cast<char *>(request.carrier);
                auto getInterface =
                    *reinterpret_cast<zr6200_getInterface_t *>(object + ZR6200_CARRIER_GETINTERFACE_OFFSET);
                void **table = getInterface(object, 1, 1);
                ++calls;
                ViUInt16 word = 0;
                check(reinterpret_cast<zr6200_readFcWord_t>(table[ZR6200_READFCWORD_ENTRY])(object, 2, 252, &word) ==
                      VI_SUCCESS);
                if (word == ('X' << 8 | 'Y'))
                    ++suffixes;
                check(releaseCarrierInfo(&request) == VI_SUCCESS);
                check(viClose(vi) == VI_SUCCESS);

                ViSession driver = VI_NULL;
                check(zr7480_init(const_cast<ViRsrc>(name.constData()), 1, 1, 0, &driver) == ZR7480_WARN_NO_RESET);
                check(zr7480_arm(driver) == VI_SUCCESS);
                ViUInt16 sync = 9;
                ViInt16 dds = 9;
                check(zr7480_getStatus(driver, &sync, &dds) == VI_SUCCESS && dds == 0);
                check(zr7480_close(driver) == VI_SUCCESS);
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(suffixes.load(), kThreads * kRounds);
    QCOMPARE(simbench_logCount(), size_t(calls.load()));
    QCOMPARE(simbench_carrierObjects(), 0);
    QCOMPARE(viClose(rm), VI_SUCCESS);
    QCOMPARE(simbench_openSessions(), 0);
}

ZR_TEST_MAIN(tst_SimBench)
#include "tst_simbench.moc"
