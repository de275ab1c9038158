#include "bench.h"

namespace simbench {

// The bench used when ZR_SIMBENCH_FILE is not set: two VXI mainframes, a few
// network boxes (one reachable under two descriptors, one that does not
// answer) and two resources that are no carriers. Addresses come from the
// documentation ranges only. The libraries' revisions are the bench file's
// defaults.
const char *defaultBenchJson()
{
    return R"json({
  "resources": [
    {
      "descriptor": "TCPIP0::192.0.2.10::INSTR",
      "address": "192.0.2.10", "hostname": "fc-lab-01.example", "deviceName": "inst0",
      "openDelayMs": 30,
      "carrier": { "modelId": 1990, "slots": [
        { "id": "0x7480", "serial": "0x00001a2b", "option": "AA", "revision": "1.0.2.0" },
        0,
        { "id": "0x5938", "word252": "CD" },
        0 ] }
    },
    {
      "descriptor": "VXI0::8::INSTR", "slot": 3,
      "carrier": { "modelId": 1987, "slots": [
        { "id": "0x5902", "word252": "AB" },
        { "id": "0x7480", "serial": "0x00002f40", "option": "AB", "revision": "1.0.2.0" },
        0,
        { "id": "0xB1E4" },
        0,
        { "id": "0x8164" },
        0,
        { "id": "0x6C6C" } ] }
    },
    { "descriptor": "ASRL1::INSTR" },
    {
      "descriptor": "VXI0::16::INSTR", "slot": 6,
      "carrier": { "modelId": 1987, "interface1": false, "slots": [
        { "id": "0x5902" },
        { "id": "0x8A20" },
        0,
        { "id": "0xB3C4" } ] }
    },
    {
      "descriptor": "TCPIP0::198.51.100.23::INSTR",
      "address": "198.51.100.23", "hostname": "fc-lab-02.example", "deviceName": "inst0",
      "openDelayMs": 50,
      "carrier": { "modelId": 1990, "interface1": false, "slots": [
        { "id": "0x5902" },
        { "id": "0x7480", "serial": "0x0000a7c1", "option": "AA", "revision": "1.0.1.0" } ] }
    },
    { "descriptor": "GPIB0::5::INSTR" },
    {
      "descriptor": "TCPIP0::fc-lab-01.example::INSTR",
      "address": "192.0.2.10", "hostname": "fc-lab-01.example", "deviceName": "inst0",
      "openDelayMs": 30,
      "carrier": { "modelId": 1990, "slots": [
        { "id": "0x7480", "serial": "0x00001a2b", "option": "AA", "revision": "1.0.2.0" },
        0,
        { "id": "0x5938", "word252": "CD" },
        0 ] }
    },
    {
      "descriptor": "TCPIP0::203.0.113.7::inst0::INSTR",
      "address": "203.0.113.7", "hostname": "fc-lab-03.example", "deviceName": "inst0",
      "openDelayMs": 20,
      "carrier": { "modelId": 1995, "slots": [
        { "id": "0x7480", "serial": "0x00003001", "option": "BC", "revision": "1.1.0.0" },
        { "id": "0x7480", "serial": "0x00003002", "option": "BC", "revision": "1.1.0.0" },
        0,
        0 ] }
    },
    {
      "descriptor": "TCPIP0::203.0.113.99::INSTR",
      "address": "203.0.113.99",
      "openDelayMs": 100, "openStatus": "0xBFFF0015"
    },
    {
      "descriptor": "TCPIP0::192.0.2.44::INSTR",
      "address": "192.0.2.44", "hostname": "scope-7.example", "deviceName": "inst0"
    }
  ]
})json";
}

} // namespace simbench
