#include <cstring>

#include "zr7480.h"

extern "C" {
ViStatus zr7480_init(ViRsrc, ViUInt16, ViBoolean, ViBoolean, ViSession *vi) { if (vi) *vi = 0; return VI_ERROR_RSRC_NFOUND; }
ViStatus zr7480_configureChannel(ViSession, ViInt16, ViUInt16, ViInt16, ViUInt16) { return VI_SUCCESS; }
ViStatus zr7480_configureClock(ViSession, ViInt16, ViReal64, ViUInt16, ViUInt16, ViUInt16, ViUInt16) { return VI_SUCCESS; }
ViStatus zr7480_configureFpSynch(ViSession, ViInt16) { return VI_SUCCESS; }
ViStatus zr7480_arm(ViSession) { return VI_SUCCESS; }
ViStatus zr7480_fpSyncPulse(ViSession, ViUInt16) { return VI_SUCCESS; }
ViStatus zr7480_getStatus(ViSession, ViUInt16 *s, ViInt16 *d) { *s = 0; *d = 0; return VI_SUCCESS; }
ViStatus zr7480_reset(ViSession) { return VI_SUCCESS; }
ViStatus zr7480_error_message(ViSession, ViStatus, ViChar message[]) { std::strcpy(message, "Unknown status"); return VI_SUCCESS; }
ViStatus zr7480_revision_query(ViSession, ViChar d[], ViChar i[]) { if (d) std::strcpy(d, "0.0"); if (i) std::strcpy(i, "0.0"); return VI_SUCCESS; }
ViStatus zr7480_getSerialNumber(ViSession, ViUInt32 *s, ViChar o[]) { *s = 0; std::strcpy(o, "AA"); return VI_SUCCESS; }
ViStatus zr7480_close(ViSession) { return VI_SUCCESS; }
}
