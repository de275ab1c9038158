#include <QApplication>
#include <QFile>
#include <QLibrary>
#include <QRegularExpression>
#include <QtTest>
#include <cstring>

#include "simbench.h"
#include "standin_status.h"
#include "testsupport.h"
#include "visa.h"
#include "zr6200.h"
#include "zr7480.h"

namespace {

const char *const kBench = R"({
  "commonLibRevision": "6.2.0.3301-and-a-suffix-longer-than-31",
  "driverRevision": "4.3.0.10110-and-a-long-suffix",
  "resources": [
    { "descriptor": "VXI0::1::INSTR", "slot": 3,
      "carrier": { "modelId": 1987, "slots": [
        { "id": "0x7480", "serial": "0x00001a2b", "option": "AB", "revision": "1.0.2.0" },
        { "id": "0x5902", "word252": "AB" },
        0,
        { "id": "0x1234" },
        { "id": "0x7480", "option": "LONGOPTION", "revision": "1.2.3.4.5.6.7.8.9" } ] } },
    { "descriptor": "VXI0::2::INSTR", "slot": 4, "carrier": { "modelId": 4000, "interface1": false, "slots": [] } },
    { "descriptor": "TCPIP0::192.0.2.10::INSTR", "address": "192.0.2.10", "hostname": "lxi.example",
      "deviceName": "inst0", "carrier": { "modelId": 1990, "slots": [ { "id": "0x7480", "serial": 4294967295 } ] } },
    { "descriptor": "TCPIP0::lxi.example::INSTR", "address": "192.0.2.10",
      "carrier": { "modelId": 1990, "slots": [ { "id": "0x7480", "serial": 4294967295 } ] } },
    { "descriptor": "ASRL1::INSTR" },
    { "descriptor": "TCPIP0::198.51.100.9::INSTR", "address": "198.51.100.9", "openStatus": "0x3FFF007D",
      "carrier": { "modelId": 1, "slots": [ { "id": "0x7480" } ] } },
    { "descriptor": "TCPIP0::198.51.100.10::INSTR", "address": "198.51.100.10", "openStatus": "0xBFFF0015",
      "carrier": { "modelId": 1, "slots": [ { "id": "0x7480" } ] } }
  ]
})";

template <typename T> T readAt(const void *base, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(base) + offset, sizeof value);
    return value;
}

// A resource session and the carrier request of the search, filled as the
// search fills it: bytes it does not set hold garbage.
struct OpenCarrier
{
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    carrierRequest request;
    ViStatus status = VI_ERROR_SYSTEM_ERROR;

    explicit OpenCarrier(const char *descriptor)
    {
        viOpenDefaultRM(&rm);
        viOpen(rm, descriptor, 0, 0, &vi);
        std::memset(&request, 0xCC, sizeof request);
        request.reserved0 = 0;
        request.rmSession = rm;
        request.reserved1 = 0;
        request.reserved2 = 0;
        status = getCarrierInfo(vi, &request);
    }
    ~OpenCarrier()
    {
        if (request.carrier)
            releaseCarrierInfo(&request);
        viClose(vi);
        viClose(rm);
    }
    void **interface(int index) const
    {
        const auto getInterface = readAt<zr6200_getInterface_t>(request.carrier, ZR6200_CARRIER_GETINTERFACE_OFFSET);
        return getInterface(request.carrier, index, 1);
    }
    ViStatus readFcWord(ViUInt16 slot, int offset, ViUInt16 *result) const
    {
        return reinterpret_cast<zr6200_readFcWord_t>(interface(1)[ZR6200_READFCWORD_ENTRY])(request.carrier, slot,
                                                                                            offset, result);
    }
};

ViRsrc name(const char *descriptor)
{
    return const_cast<ViRsrc>(descriptor);
}

QString cardState(const char *descriptor, unsigned fcNumber)
{
    char text[512];
    simbench_cardState(descriptor, fcNumber, text, sizeof text);
    return QString::fromLatin1(text);
}

QString errorMessage(ViStatus status, ViStatus *result = nullptr)
{
    char text[ZR7480_ERROR_MESSAGE_SIZE];
    std::memset(text, '#', sizeof text);
    const ViStatus s = zr7480_error_message(VI_NULL, status, text);
    if (result)
        *result = s;
    return QString::fromLatin1(text, qsizetype(qstrnlen(text, sizeof text)));
}

} // namespace

class tst_StandInDrivers : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void carrierLayout();
    void carrierWithoutInterface1();
    void carrierFailures();
    void readFcWord_data();
    void readFcWord();
    void commonLibrary();
    void initOpens_data();
    void initOpens();
    void driverSessionAttributes();
    void configureAndStatus();
    void parameterChecks_data();
    void parameterChecks();
    void stateAcrossSessions();
    void identity();
    void errorTexts_data();
    void errorTexts();
    void closeAndReinit();
    void ordinals_data();
    void ordinals();
};

void tst_StandInDrivers::init()
{
    simbench_reset();
    QCOMPARE(simbench_loadJson(kBench), 0);
    simbench_clearLog();
}

void tst_StandInDrivers::cleanup()
{
    QCOMPARE(simbench_openSessions(), 0);
    QCOMPARE(simbench_carrierObjects(), 0);
}

void tst_StandInDrivers::carrierLayout()
{
    OpenCarrier c("VXI0::1::INSTR");
    QCOMPARE(c.status, VI_SUCCESS);
    QVERIFY(c.request.carrier != nullptr);
    QCOMPARE(simbench_carrierObjects(), 1);
    // The caller's other fields are left as they were.
    QCOMPARE(c.request.rmSession, ViUInt32(c.rm));
    QCOMPARE(c.request.reserved0, ViUInt16(0));

    const auto *data = readAt<const unsigned char *>(c.request.carrier, ZR6200_CARRIER_DATA_OFFSET);
    QVERIFY(data != nullptr);
    QCOMPARE(readAt<std::int32_t>(data, 256), 5);
    QCOMPARE(readAt<ViUInt16>(data, 260), ViUInt16(1987));
    const ViUInt16 ids[] = {0x7480, 0x5902, 0, 0x1234, 0x7480};
    for (int k = 1; k <= 5; ++k)
        QCOMPARE(readAt<ViUInt16>(data, 260 + 2 * k), ids[k - 1]);

    void **interface1 = c.interface(1);
    QVERIFY(interface1 != nullptr);
    QVERIFY(interface1[ZR6200_READFCWORD_ENTRY] != nullptr);
    QVERIFY(c.interface(0) != nullptr);
    QVERIFY(c.interface(2) == nullptr);
    const auto getInterface = readAt<zr6200_getInterface_t>(c.request.carrier, ZR6200_CARRIER_GETINTERFACE_OFFSET);
    QVERIFY(getInterface(c.request.carrier, 1, 2) == nullptr);

    ViUInt16 word = 0;
    QCOMPARE(c.readFcWord(2, 252, &word), VI_SUCCESS);
    QCOMPARE(char(word >> 8), 'A');
    QCOMPARE(char(word & 0xFF), 'B');

    QCOMPARE(releaseCarrierInfo(&c.request), VI_SUCCESS);
    QVERIFY(c.request.carrier == nullptr);
    QCOMPARE(simbench_carrierObjects(), 0);
    QCOMPARE(releaseCarrierInfo(&c.request), VI_WARN_NULL_OBJECT);
    QCOMPARE(releaseCarrierInfo(nullptr), VI_ERROR_PARAMETER1);
    // A pointer the library never gave out is refused, not freed.
    int notACarrier = 0;
    c.request.carrier = &notACarrier;
    QCOMPARE(releaseCarrierInfo(&c.request), VI_ERROR_INV_OBJECT);
    QCOMPARE(getInterface(&notACarrier, 1, 1), nullptr);
    c.request.carrier = nullptr;
}

void tst_StandInDrivers::carrierWithoutInterface1()
{
    OpenCarrier c("VXI0::2::INSTR");
    QCOMPARE(c.status, VI_SUCCESS);
    const auto *data = readAt<const unsigned char *>(c.request.carrier, ZR6200_CARRIER_DATA_OFFSET);
    QCOMPARE(readAt<std::int32_t>(data, 256), 0);
    QCOMPARE(readAt<ViUInt16>(data, 260), ViUInt16(4000));
    QVERIFY(c.interface(1) == nullptr);
    QVERIFY(c.interface(0) != nullptr);
}

void tst_StandInDrivers::carrierFailures()
{
    {
        OpenCarrier serial("ASRL1::INSTR");
        QCOMPARE(serial.status, ZR6200_ERROR_NOT_A_CARRIER);
        QVERIFY(serial.request.carrier == nullptr);
    }
    {
        OpenCarrier c("VXI0::1::INSTR");
        carrierRequest request = c.request;
        request.carrier = &request;
        QCOMPARE(getCarrierInfo(c.vi + 1000, &request), VI_ERROR_INV_OBJECT);
        QVERIFY(request.carrier == nullptr);
        request.rmSession = c.vi; // not a resource manager
        QCOMPARE(getCarrierInfo(c.vi, &request), VI_ERROR_PARAMETER2);
        QCOMPARE(getCarrierInfo(c.rm, &request), VI_ERROR_INV_OBJECT);
        QCOMPARE(getCarrierInfo(c.vi, nullptr), VI_ERROR_PARAMETER2);
    }
    simbench_setStatus("getCarrierInfo", ZR6200_ERROR_NOT_A_CARRIER);
    OpenCarrier forced("VXI0::1::INSTR");
    QCOMPARE(forced.status, ZR6200_ERROR_NOT_A_CARRIER);
}

void tst_StandInDrivers::readFcWord_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("word");
    QTest::newRow("suffix") << 2 << 252 << 0 << ('A' << 8 | 'B');
    QTest::newRow("no suffix given: blanks") << 1 << 252 << 0 << 0x2020;
    QTest::newRow("id at offset 0") << 4 << 0 << 0 << 0x1234;
    QTest::newRow("other offsets read 0") << 1 << 2 << 0 << 0;
    QTest::newRow("last word") << 5 << 254 << 0 << 0;
    QTest::newRow("empty slot") << 3 << 252 << int(ZR6200_ERROR_SLOT_EMPTY) << -1;
    QTest::newRow("slot 0") << 0 << 252 << int(VI_ERROR_PARAMETER2) << -1;
    QTest::newRow("beyond the last slot") << 6 << 252 << int(VI_ERROR_PARAMETER2) << -1;
    QTest::newRow("odd offset") << 2 << 251 << int(VI_ERROR_PARAMETER3) << -1;
    QTest::newRow("offset past the space") << 2 << 256 << int(VI_ERROR_PARAMETER3) << -1;
    QTest::newRow("negative offset") << 2 << -2 << int(VI_ERROR_PARAMETER3) << -1;
}

void tst_StandInDrivers::readFcWord()
{
    QFETCH(int, slot);
    QFETCH(int, offset);
    QFETCH(int, status);
    QFETCH(int, word);
    OpenCarrier c("VXI0::1::INSTR");
    ViUInt16 result = 0xBEEF;
    QCOMPARE(c.readFcWord(ViUInt16(slot), offset, &result), status);
    QCOMPARE(int(result), word < 0 ? 0xBEEF : word);
    const bool badPlace = status == int(VI_ERROR_PARAMETER2) || status == int(VI_ERROR_PARAMETER3);
    QCOMPARE(c.readFcWord(ViUInt16(slot), offset, nullptr), badPlace ? status : int(VI_ERROR_PARAMETER4));
}

void tst_StandInDrivers::commonLibrary()
{
    char revision[40];
    std::memset(revision, '#', sizeof revision);
    QCOMPARE(getCommonLibRevision(revision), VI_SUCCESS);
    QCOMPARE(QByteArray(revision), QByteArray("6.2.0.3301-and-a-suffix-longer-than-31").left(31));
    QCOMPARE(QByteArray(revision + 32, 8), QByteArray(8, '#'));
    QCOMPARE(getCommonLibRevision(nullptr), VI_ERROR_PARAMETER1);

    char text[1100];
    std::memset(text, '#', sizeof text);
    QCOMPARE(getStatusText(0x12345678, text), VI_WARN_UNKNOWN_STATUS);
    QVERIFY2(QByteArray(text).contains("0x12345678"), text);
    QVERIFY(qstrlen(text) < 1024);
    QCOMPARE(getStatusText(VI_ERROR_TMO, nullptr), VI_ERROR_PARAMETER2);
    QCOMPARE(zrtest::benchLog().last(),
             QStringLiteral("getStatusText(status=%1, buffer=NULL) -> %2").arg(VI_ERROR_TMO).arg(VI_ERROR_PARAMETER2));
}

void tst_StandInDrivers::initOpens_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<int>("fcNumber");
    QTest::addColumn<int>("idQuery");
    QTest::addColumn<int>("reset");
    QTest::addColumn<int>("status");

    QTest::newRow("7480 in slot 1") << QByteArray("VXI0::1::INSTR") << 1 << 1 << 1 << 0;
    QTest::newRow("7480 in slot 5") << QByteArray("VXI0::1::INSTR") << 5 << 1 << 1 << 0;
    QTest::newRow("typed in lower case") << QByteArray("vxi0::1::instr") << 1 << 1 << 1 << 0;
    QTest::newRow("network") << QByteArray("TCPIP0::192.0.2.10::INSTR") << 1 << 1 << 1 << 0;
    QTest::newRow("other card") << QByteArray("VXI0::1::INSTR") << 2 << 1 << 1 << int(VI_ERROR_FAIL_ID_QUERY);
    QTest::newRow("other card, no query") << QByteArray("VXI0::1::INSTR") << 2 << 0 << 1 << 0;
    QTest::newRow("empty slot") << QByteArray("VXI0::1::INSTR") << 3 << 1 << 1 << int(ZR7480_ERROR_SLOT_EMPTY);
    QTest::newRow("empty slot, no query")
        << QByteArray("VXI0::1::INSTR") << 3 << 0 << 1 << int(ZR7480_ERROR_SLOT_EMPTY);
    QTest::newRow("slot 0") << QByteArray("VXI0::1::INSTR") << 0 << 1 << 1 << int(ZR7480_ERROR_NO_SUCH_SLOT);
    QTest::newRow("slot past the last") << QByteArray("VXI0::1::INSTR") << 6 << 1 << 1
                                        << int(ZR7480_ERROR_NO_SUCH_SLOT);
    QTest::newRow("carrier without slots")
        << QByteArray("VXI0::2::INSTR") << 1 << 1 << 1 << int(ZR7480_ERROR_NO_SUCH_SLOT);
    QTest::newRow("not a carrier") << QByteArray("ASRL1::INSTR") << 1 << 1 << 1 << int(ZR7480_ERROR_NOT_A_CARRIER);
    QTest::newRow("not on the bench") << QByteArray("VXI0::9::INSTR") << 1 << 1 << 1 << int(VI_ERROR_RSRC_NFOUND);
    QTest::newRow("bad descriptor") << QByteArray("no such thing") << 1 << 1 << 1 << int(VI_ERROR_INV_RSRC_NAME);
    QTest::newRow("empty descriptor") << QByteArray("") << 1 << 1 << 1 << int(VI_ERROR_INV_RSRC_NAME);
    QTest::newRow("list of descriptors") << QByteArray("VXI0::1::INSTR,TCPIP0::192.0.2.10::INSTR") << 1 << 1 << 1
                                         << int(ZR7480_ERROR_RSRC_LIST);
    QTest::newRow("resource that does not answer")
        << QByteArray("TCPIP0::198.51.100.10::INSTR") << 1 << 1 << 1 << int(VI_ERROR_TMO);
    QTest::newRow("open warning passed on")
        << QByteArray("TCPIP0::198.51.100.9::INSTR") << 1 << 1 << 1 << int(VI_SUCCESS_DEV_NPRESENT);
    QTest::newRow("without reset") << QByteArray("VXI0::1::INSTR") << 1 << 1 << 0 << int(ZR7480_WARN_NO_RESET);
    QTest::newRow("descriptor of 3000 characters")
        << "TCPIP0::" + QByteArray(2985, 'h') + "::INSTR" << 1 << 1 << 1 << int(VI_ERROR_RSRC_NFOUND);
}

void tst_StandInDrivers::initOpens()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(int, fcNumber);
    QFETCH(int, idQuery);
    QFETCH(int, reset);
    QFETCH(int, status);
    ViSession vi = 4711;
    QCOMPARE(zr7480_init(descriptor.data(), ViUInt16(fcNumber), ViBoolean(idQuery), ViBoolean(reset), &vi), status);
    const bool opened = status >= 0;
    QCOMPARE(vi != VI_NULL, opened);
    // An open driver session is its resource manager and its resource.
    QCOMPARE(simbench_openSessions(), opened ? 2 : 0);
    QCOMPARE(zrtest::benchLog(),
             QStringList{QStringLiteral("zr7480_init(rsrcName=\"%1\", fcNumber=%2, idQuery=%3, reset=%4) -> %5")
                             .arg(QString::fromLatin1(descriptor))
                             .arg(fcNumber)
                             .arg(idQuery)
                             .arg(reset)
                             .arg(status)});
    if (opened) {
        ViUInt16 sync = 9;
        ViInt16 dds = 9;
        QCOMPARE(zr7480_getStatus(vi, &sync, &dds), VI_SUCCESS);
        QCOMPARE(zr7480_close(vi), VI_SUCCESS);
    }
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_StandInDrivers::driverSessionAttributes()
{
    ViSession vxi = VI_NULL;
    ViSession lxi = VI_NULL;
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 5, 1, 1, &vxi), VI_SUCCESS);
    QCOMPARE(zr7480_init(name("TCPIP0::192.0.2.10::INSTR"), 1, 1, 1, &lxi), VI_SUCCESS);
    ViInt16 slot = 0;
    QCOMPARE(viGetAttribute(vxi, VI_ATTR_SLOT, &slot), VI_SUCCESS);
    QCOMPARE(slot, ViInt16(3));
    QCOMPARE(viGetAttribute(lxi, VI_ATTR_SLOT, &slot), VI_ERROR_NSUP_ATTR);
    char text[256];
    QCOMPARE(viGetAttribute(lxi, VI_ATTR_TCPIP_DEVICE_NAME, text), VI_SUCCESS);
    QCOMPARE(text, "inst0");
    QCOMPARE(viGetAttribute(lxi, VI_ATTR_TCPIP_HOSTNAME, text), VI_SUCCESS);
    QCOMPARE(text, "lxi.example");
    QCOMPARE(zr7480_close(vxi), VI_SUCCESS);
    QCOMPARE(zr7480_close(lxi), VI_SUCCESS);
    QCOMPARE(viGetAttribute(lxi, VI_ATTR_SLOT, &slot), VI_ERROR_INV_OBJECT);
}

void tst_StandInDrivers::configureAndStatus()
{
    ViSession vi = VI_NULL;
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, &vi), VI_SUCCESS);
    const QString defaults = cardState("VXI0::1::INSTR", 1);
    QCOMPARE(defaults, QStringLiteral("ch1 filter=0 gain=0 output=0; ch2 filter=0 gain=0 output=0; clockSource=0 "
                                      "ddsFrequency=12500000 clockDivider=4 synchSource=0 fpClockOutput=0 "
                                      "mbClockOutput=0; fpSynchMode=0; armed=0; pulses falling=0 rising=0"));

    auto status = [vi] {
        ViUInt16 sync = 9;
        ViInt16 dds = 9;
        const ViStatus s = zr7480_getStatus(vi, &sync, &dds);
        return s == VI_SUCCESS ? QStringLiteral("sync=%1 dds=%2").arg(sync).arg(dds) : QString::number(s);
    };
    QCOMPARE(status(), QStringLiteral("sync=1 dds=0"));
    QCOMPARE(zr7480_arm(vi), VI_SUCCESS);
    QCOMPARE(status(), QStringLiteral("sync=0 dds=0"));
    // A new clock needs a new arm; a DDS frequency out of 12.5 to 25 MHz is a DDS error.
    QCOMPARE(zr7480_configureClock(vi, 3, 30e6, 0, 2, 3, 1), VI_SUCCESS);
    QCOMPARE(status(), QStringLiteral("sync=1 dds=-1"));
    QCOMPARE(zr7480_arm(vi), VI_SUCCESS);
    QCOMPARE(status(), QStringLiteral("sync=1 dds=-1"));
    QCOMPARE(zr7480_configureClock(vi, 3, 25e6, 4095, 2, 3, 1), VI_SUCCESS);
    QCOMPARE(status(), QStringLiteral("sync=1 dds=0"));
    QCOMPARE(zr7480_configureClock(vi, 0, 12.4999e6, 1, 0, 0, 0), VI_SUCCESS);
    QCOMPARE(status(), QStringLiteral("sync=1 dds=-1"));
    QCOMPARE(zr7480_configureClock(vi, 1, 12.5e6, 1, 1, 1, 0), VI_SUCCESS);
    QCOMPARE(zr7480_arm(vi), VI_SUCCESS);
    QCOMPARE(status(), QStringLiteral("sync=0 dds=0"));

    QCOMPARE(zr7480_configureChannel(vi, 2, 31, 3, 2), VI_SUCCESS);
    QCOMPARE(zr7480_configureChannel(vi, 1, 9, 1, 1), ZR7480_WARN_RESERVED_FILTER);
    QCOMPARE(zr7480_configureFpSynch(vi, 3), VI_SUCCESS);
    QCOMPARE(zr7480_fpSyncPulse(vi, 1), VI_SUCCESS);
    QCOMPARE(zr7480_fpSyncPulse(vi, 1), VI_SUCCESS);
    QCOMPARE(zr7480_fpSyncPulse(vi, 0), VI_SUCCESS);
    QCOMPARE(cardState("VXI0::1::INSTR", 1),
             QStringLiteral("ch1 filter=9 gain=1 output=1; ch2 filter=31 gain=3 output=2; clockSource=1 "
                            "ddsFrequency=12500000 clockDivider=1 synchSource=1 fpClockOutput=1 mbClockOutput=0; "
                            "fpSynchMode=3; armed=1; pulses falling=1 rising=2"));
    // Other cards are untouched.
    QCOMPARE(cardState("VXI0::1::INSTR", 5), defaults);

    QCOMPARE(zr7480_reset(vi), VI_SUCCESS);
    QCOMPARE(cardState("VXI0::1::INSTR", 1), defaults);
    QCOMPARE(status(), QStringLiteral("sync=1 dds=0"));
    QCOMPARE(zr7480_getStatus(vi, nullptr, nullptr), VI_ERROR_PARAMETER2);
    ViUInt16 sync = 0;
    QCOMPARE(zr7480_getStatus(vi, &sync, nullptr), VI_ERROR_PARAMETER3);
    QCOMPARE(zr7480_close(vi), VI_SUCCESS);

    QCOMPARE(cardState("VXI0::1::INSTR", 3), QString()); // empty slot
    QCOMPARE(cardState("VXI0::1::INSTR", 6), QString());
    QCOMPARE(cardState("ASRL1::INSTR", 1), QString());
    QCOMPARE(simbench_cardState(nullptr, 1, nullptr, 0), size_t(0));
}

void tst_StandInDrivers::parameterChecks_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("status");
    const int p2 = VI_ERROR_PARAMETER2;
    const int p3 = VI_ERROR_PARAMETER3;
    const int p4 = VI_ERROR_PARAMETER4;
    const int p5 = VI_ERROR_PARAMETER5;
    const int p6 = VI_ERROR_PARAMETER6;
    const int p7 = VI_ERROR_PARAMETER7;
    QTest::newRow("channel 0") << "channel 0 0 0 0" << p2;
    QTest::newRow("channel 3") << "channel 3 0 0 0" << p2;
    QTest::newRow("filter 7") << "channel 1 7 0 0" << 0;
    QTest::newRow("filter 8 reserved") << "channel 1 8 0 0" << int(ZR7480_WARN_RESERVED_FILTER);
    QTest::newRow("filter 15 reserved") << "channel 2 15 0 0" << int(ZR7480_WARN_RESERVED_FILTER);
    QTest::newRow("filter 16") << "channel 2 16 0 0" << 0;
    QTest::newRow("filter 32") << "channel 1 32 0 0" << p3;
    QTest::newRow("gain -1") << "channel 1 0 -1 0" << p4;
    QTest::newRow("gain 4") << "channel 1 0 4 0" << p4;
    QTest::newRow("output 3") << "channel 1 0 0 3" << p5;
    QTest::newRow("clock source 4") << "clock 4 12.5e6 4 0 0 0" << p2;
    QTest::newRow("clock source -1") << "clock -1 12.5e6 4 0 0 0" << p2;
    QTest::newRow("DDS 0") << "clock 0 0 4 0 0 0" << p3;
    QTest::newRow("DDS negative") << "clock 0 -1e6 4 0 0 0" << p3;
    QTest::newRow("DDS not a number") << "clock 0 nan 4 0 0 0" << p3;
    QTest::newRow("DDS infinite") << "clock 0 inf 4 0 0 0" << p3;
    QTest::newRow("divider 0") << "clock 0 12.5e6 0 0 0 0" << 0;
    QTest::newRow("divider 4096") << "clock 0 12.5e6 4096 0 0 0" << p4;
    QTest::newRow("synch source 4") << "clock 0 12.5e6 4 4 0 0" << p5;
    QTest::newRow("FP clock 4") << "clock 0 12.5e6 4 0 4 0" << p6;
    QTest::newRow("MB clock 2") << "clock 0 12.5e6 4 0 0 2" << p7;
    QTest::newRow("synch mode 3") << "fpsynch 3" << 0;
    QTest::newRow("synch mode 4") << "fpsynch 4" << p2;
    QTest::newRow("synch mode -1") << "fpsynch -1" << p2;
    QTest::newRow("edge 2") << "pulse 2" << p2;
}

void tst_StandInDrivers::parameterChecks()
{
    QFETCH(QString, call);
    QFETCH(int, status);
    ViSession vi = VI_NULL;
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, &vi), VI_SUCCESS);
    const QString before = cardState("VXI0::1::INSTR", 1);
    const QStringList a = call.split(' ');
    auto run = [&](ViSession session) {
        if (a[0] == "channel")
            return zr7480_configureChannel(session, ViInt16(a[1].toInt()), ViUInt16(a[2].toInt()),
                                           ViInt16(a[3].toInt()), ViUInt16(a[4].toInt()));
        if (a[0] == "clock")
            return zr7480_configureClock(session, ViInt16(a[1].toInt()), a[2].toDouble(), ViUInt16(a[3].toInt()),
                                         ViUInt16(a[4].toInt()), ViUInt16(a[5].toInt()), ViUInt16(a[6].toInt()));
        if (a[0] == "fpsynch")
            return zr7480_configureFpSynch(session, ViInt16(a[1].toInt()));
        return zr7480_fpSyncPulse(session, ViUInt16(a[1].toInt()));
    };
    QCOMPARE(run(vi), status);
    // A refused call changes nothing on the card.
    if (status < 0)
        QCOMPARE(cardState("VXI0::1::INSTR", 1), before);
    else
        QVERIFY(cardState("VXI0::1::INSTR", 1) != before);
    // No session, or a session the driver did not open, comes first.
    QCOMPARE(run(VI_NULL), VI_ERROR_INV_OBJECT);
    ViSession rm = VI_NULL;
    ViSession plain = VI_NULL;
    viOpenDefaultRM(&rm);
    viOpen(rm, "VXI0::1::INSTR", 0, 0, &plain);
    QCOMPARE(run(plain), VI_ERROR_INV_OBJECT);
    viClose(rm);
    QCOMPARE(zr7480_close(vi), VI_SUCCESS);
    QCOMPARE(run(vi), VI_ERROR_INV_OBJECT);
}

void tst_StandInDrivers::stateAcrossSessions()
{
    ViSession first = VI_NULL;
    QCOMPARE(zr7480_init(name("TCPIP0::192.0.2.10::INSTR"), 1, 1, 1, &first), VI_SUCCESS);
    QCOMPARE(zr7480_configureFpSynch(first, 2), VI_SUCCESS);
    QCOMPARE(zr7480_arm(first), VI_SUCCESS);
    QCOMPARE(zr7480_close(first), VI_SUCCESS);

    // The same box under its other descriptor, without a reset: the card kept its state.
    ViSession second = VI_NULL;
    QCOMPARE(zr7480_init(name("TCPIP0::lxi.example::INSTR"), 1, 1, 0, &second), ZR7480_WARN_NO_RESET);
    ViUInt16 sync = 9;
    ViInt16 dds = 9;
    QCOMPARE(zr7480_getStatus(second, &sync, &dds), VI_SUCCESS);
    QCOMPARE(sync, ViUInt16(0));
    QVERIFY(cardState("TCPIP0::192.0.2.10::INSTR", 1).contains("fpSynchMode=2"));

    // Two sessions on one card see one card; an init with reset resets it for both.
    ViSession third = VI_NULL;
    QCOMPARE(zr7480_init(name("TCPIP0::192.0.2.10::INSTR"), 1, 1, 1, &third), VI_SUCCESS);
    QVERIFY(third != second);
    QCOMPARE(zr7480_getStatus(second, &sync, &dds), VI_SUCCESS);
    QCOMPARE(sync, ViUInt16(1));
    QVERIFY(cardState("TCPIP0::lxi.example::INSTR", 1).contains("fpSynchMode=0"));
    QCOMPARE(zr7480_close(second), VI_SUCCESS);
    QCOMPARE(zr7480_close(third), VI_SUCCESS);

    // A new bench forgets the cards' state.
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, &first), VI_SUCCESS);
    QCOMPARE(zr7480_arm(first), VI_SUCCESS);
    QCOMPARE(zr7480_close(first), VI_SUCCESS);
    QCOMPARE(simbench_loadJson(kBench), 0);
    QVERIFY(cardState("VXI0::1::INSTR", 1).contains("armed=0"));
}

void tst_StandInDrivers::identity()
{
    ViSession vi = VI_NULL;
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, &vi), VI_SUCCESS);
    ViUInt32 serial = 0;
    char option[8];
    std::memset(option, '#', sizeof option);
    QCOMPARE(zr7480_getSerialNumber(vi, &serial, option), VI_SUCCESS);
    QCOMPARE(serial, 0x00001a2bu);
    QCOMPARE(option, "AB");
    char driverRevision[64];
    char instrumentRevision[32];
    std::memset(driverRevision, '#', sizeof driverRevision);
    std::memset(instrumentRevision, '#', sizeof instrumentRevision);
    QCOMPARE(zr7480_revision_query(vi, driverRevision, instrumentRevision), VI_SUCCESS);
    // The callers' smallest buffers: 24 bytes for the driver revision, 16 for the card's.
    QCOMPARE(driverRevision, "4.3.0.10110-and-a-long-");
    QCOMPARE(driverRevision[24], '#');
    QCOMPARE(instrumentRevision, "1.0.2.0");
    QCOMPARE(zr7480_getSerialNumber(vi, nullptr, option), VI_ERROR_PARAMETER2);
    QCOMPARE(zr7480_getSerialNumber(vi, &serial, nullptr), VI_ERROR_PARAMETER3);
    QCOMPARE(zr7480_close(vi), VI_SUCCESS);

    // Long texts from the bench are cut to the callers' buffers.
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 5, 1, 1, &vi), VI_SUCCESS);
    std::memset(option, '#', sizeof option);
    std::memset(instrumentRevision, '#', sizeof instrumentRevision);
    QCOMPARE(zr7480_getSerialNumber(vi, &serial, option), VI_SUCCESS);
    QCOMPARE(QByteArray(option, 5), QByteArray("LON\0#", 5));
    QCOMPARE(serial, 0x74800105u); // the bench's default: resource 1, slot 5
    QCOMPARE(zr7480_revision_query(vi, nullptr, instrumentRevision), VI_SUCCESS);
    QCOMPARE(QByteArray(instrumentRevision, 17), QByteArray("1.2.3.4.5.6.7.8\0#", 17));
    QCOMPARE(zr7480_close(vi), VI_SUCCESS);

    QCOMPARE(zr7480_init(name("TCPIP0::192.0.2.10::INSTR"), 1, 1, 1, &vi), VI_SUCCESS);
    QCOMPARE(zr7480_getSerialNumber(vi, &serial, option), VI_SUCCESS);
    QCOMPARE(serial, 0xFFFFFFFFu);
    QCOMPARE(option, "AA");
    QCOMPARE(zr7480_close(vi), VI_SUCCESS);

    // Without a session only the driver's revision is known.
    std::memset(instrumentRevision, '#', sizeof instrumentRevision);
    QCOMPARE(zr7480_revision_query(VI_NULL, driverRevision, nullptr), VI_SUCCESS);
    QCOMPARE(zr7480_revision_query(VI_NULL, driverRevision, instrumentRevision), VI_WARN_NSUP_REV_QUERY);
    QCOMPARE(instrumentRevision[0], '#');
    QCOMPARE(zr7480_revision_query(vi, driverRevision, instrumentRevision), VI_ERROR_INV_OBJECT);
    QCOMPARE(zr7480_getSerialNumber(vi, &serial, option), VI_ERROR_INV_OBJECT);
}

void tst_StandInDrivers::errorTexts_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("own7480");
    QTest::addColumn<bool>("own6200");
    const struct
    {
        const char *name;
        ViStatus status;
        bool own7480;
        bool own6200;
    } statuses[] = {
        {"success", VI_SUCCESS, false, false},
        {"device not present", VI_SUCCESS_DEV_NPRESENT, false, false},
        {"null object", VI_WARN_NULL_OBJECT, false, false},
        {"unknown status", VI_WARN_UNKNOWN_STATUS, false, false},
        {"no id query", VI_WARN_NSUP_ID_QUERY, false, false},
        {"no reset", VI_WARN_NSUP_RESET, false, false},
        {"no revision query", VI_WARN_NSUP_REV_QUERY, false, false},
        {"system error", VI_ERROR_SYSTEM_ERROR, false, false},
        {"invalid object", VI_ERROR_INV_OBJECT, false, false},
        {"locked", VI_ERROR_RSRC_LOCKED, false, false},
        {"invalid expression", VI_ERROR_INV_EXPR, false, false},
        {"not found", VI_ERROR_RSRC_NFOUND, false, false},
        {"invalid name", VI_ERROR_INV_RSRC_NAME, false, false},
        {"access mode", VI_ERROR_INV_ACC_MODE, false, false},
        {"timeout", VI_ERROR_TMO, false, false},
        {"attribute", VI_ERROR_NSUP_ATTR, false, false},
        {"alloc", VI_ERROR_ALLOC, false, false},
        {"operation", VI_ERROR_NSUP_OPER, false, false},
        {"user buffer", VI_ERROR_USER_BUF, false, false},
        {"busy", VI_ERROR_RSRC_BUSY, false, false},
        {"connection lost", VI_ERROR_CONN_LOST, false, false},
        {"parameter 1", VI_ERROR_PARAMETER1, false, false},
        {"parameter 2", VI_ERROR_PARAMETER2, false, false},
        {"parameter 3", VI_ERROR_PARAMETER3, false, false},
        {"parameter 4", VI_ERROR_PARAMETER4, false, false},
        {"parameter 5", VI_ERROR_PARAMETER5, false, false},
        {"parameter 6", VI_ERROR_PARAMETER6, false, false},
        {"parameter 7", VI_ERROR_PARAMETER7, false, false},
        {"parameter 8", VI_ERROR_PARAMETER8, false, false},
        {"id query", VI_ERROR_FAIL_ID_QUERY, true, false},
        {"response", VI_ERROR_INV_RESPONSE, false, false},
        {"7480 not a carrier", ZR7480_ERROR_NOT_A_CARRIER, true, false},
        {"7480 no such slot", ZR7480_ERROR_NO_SUCH_SLOT, true, false},
        {"7480 slot empty", ZR7480_ERROR_SLOT_EMPTY, true, false},
        {"7480 list", ZR7480_ERROR_RSRC_LIST, true, false},
        {"7480 without reset", ZR7480_WARN_NO_RESET, true, false},
        {"7480 reserved filter", ZR7480_WARN_RESERVED_FILTER, true, false},
        {"6200 not a carrier", ZR6200_ERROR_NOT_A_CARRIER, false, true},
        {"6200 slot empty", ZR6200_ERROR_SLOT_EMPTY, false, true},
    };
    for (const auto &s : statuses)
        QTest::newRow(s.name) << int(s.status) << s.own7480 << s.own6200;
}

void tst_StandInDrivers::errorTexts()
{
    QFETCH(int, status);
    QFETCH(bool, own7480);
    QFETCH(bool, own6200);
    // Every status either library returns has a text in the library that returns it.
    ViStatus result = -1;
    const QString driverText = errorMessage(status, &result);
    QCOMPARE(result, own6200 ? VI_WARN_UNKNOWN_STATUS : VI_SUCCESS);
    QVERIFY(!driverText.isEmpty());
    QVERIFY(!driverText.contains('\n'));
    QVERIFY(driverText.size() < ZR7480_ERROR_MESSAGE_SIZE);

    char text[1024];
    std::memset(text, '#', sizeof text);
    const ViStatus commonResult = getStatusText(status, text);
    QCOMPARE(commonResult, own7480 && status != VI_ERROR_FAIL_ID_QUERY ? VI_WARN_UNKNOWN_STATUS : VI_SUCCESS);
    QVERIFY(qstrnlen(text, sizeof text) < sizeof text);
    const QString commonText = QString::fromLatin1(text);
    QVERIFY(!commonText.isEmpty());
    if (!own7480 && !own6200)
        QCOMPARE(driverText, commonText);
    // The unknown ones say which status they did not know.
    if (own6200)
        QVERIFY(
            driverText.contains(QStringLiteral("0x%1").arg(uint(status), 8, 16, QLatin1Char('0')).toUpper().mid(2)));
}

void tst_StandInDrivers::closeAndReinit()
{
    ViSession vi = VI_NULL;
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, &vi), VI_SUCCESS);
    QCOMPARE(zr7480_close(vi), VI_SUCCESS);
    QCOMPARE(simbench_openSessions(), 0);
    QCOMPARE(zr7480_close(vi), VI_ERROR_INV_OBJECT);
    QCOMPARE(zr7480_close(VI_NULL), VI_WARN_NULL_OBJECT);
    QCOMPARE(zr7480_arm(vi), VI_ERROR_INV_OBJECT);

    ViSession again = VI_NULL;
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, &again), VI_SUCCESS);
    QVERIFY(again != vi);
    QCOMPARE(zr7480_arm(again), VI_SUCCESS);
    // Closing a plain VISA session is not the driver's business.
    ViSession rm = VI_NULL;
    ViSession plain = VI_NULL;
    viOpenDefaultRM(&rm);
    viOpen(rm, "VXI0::1::INSTR", 0, 0, &plain);
    QCOMPARE(zr7480_close(plain), VI_ERROR_INV_OBJECT);
    QCOMPARE(simbench_openSessions(), 4);
    viClose(rm);
    QCOMPARE(zr7480_close(again), VI_SUCCESS);

    QCOMPARE(zr7480_init(nullptr, 1, 1, 1, &vi), VI_ERROR_PARAMETER1);
    QCOMPARE(zr7480_init(name("VXI0::1::INSTR"), 1, 1, 1, nullptr), VI_ERROR_PARAMETER5);
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_StandInDrivers::ordinals_data()
{
    QTest::addColumn<QString>("defFile");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QStringList>("exports");
    QTest::newRow("common driver") << QStringLiteral(ZR_PLATFORM_SOURCE_DIR "/zr6200_64/zr6200_64.def")
                                   << QStringLiteral(ZR_ZR6200_LIBRARY)
                                   << QStringList{"getCommonLibRevision @1", "getCarrierInfo @2",
                                                  "releaseCarrierInfo @3", "getStatusText @6"};
    QTest::newRow("instrument driver") << QStringLiteral(ZR_PLATFORM_SOURCE_DIR "/zr7480_64/zr7480_64.def")
                                       << QStringLiteral(ZR_ZR7480_LIBRARY) << QStringList{"zr7480_init @3",
                                                                                           "zr7480_configureChannel @4",
                                                                                           "zr7480_configureClock @6",
                                                                                           "zr7480_configureFpSynch @8",
                                                                                           "zr7480_arm @10",
                                                                                           "zr7480_fpSyncPulse @11",
                                                                                           "zr7480_getStatus @12",
                                                                                           "zr7480_reset @17",
                                                                                           "zr7480_error_message @20",
                                                                                           "zr7480_revision_query @21",
                                                                                           "zr7480_getSerialNumber @22",
                                                                                           "zr7480_close @23"};
}

void tst_StandInDrivers::ordinals()
{
    QFETCH(QString, defFile);
    QFETCH(QString, library);
    QFETCH(QStringList, exports);
    QFile file(defFile);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList listed;
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    for (const QString &line : lines) {
        const QString entry = line.simplified();
        if (entry.contains('@'))
            listed << entry;
    }
    QCOMPARE(listed, exports);
    // Each exported name is a function of the built library.
    QLibrary lib(library);
    QVERIFY2(lib.load(), qPrintable(lib.errorString()));
    for (const QString &entry : std::as_const(listed))
        QVERIFY2(lib.resolve(entry.section(' ', 0, 0).toLatin1().constData()), qPrintable(entry));
}

ZR_TEST_MAIN(tst_StandInDrivers)
#include "tst_standindrivers.moc"
