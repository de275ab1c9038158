#include "visa.h"

// Placeholder until the simulated bench exists: no resources at all.
extern "C" {
ViStatus viOpenDefaultRM(ViPSession vi) { if (vi) *vi = 0; return VI_ERROR_SYSTEM_ERROR; }
ViStatus viFindRsrc(ViSession, ViConstString, ViPFindList, ViPUInt32, ViChar[]) { return VI_ERROR_RSRC_NFOUND; }
ViStatus viFindNext(ViFindList, ViChar[]) { return VI_ERROR_RSRC_NFOUND; }
ViStatus viOpen(ViSession, ViConstRsrc, ViAccessMode, ViUInt32, ViPSession) { return VI_ERROR_RSRC_NFOUND; }
ViStatus viClose(ViObject) { return VI_SUCCESS; }
ViStatus viGetAttribute(ViObject, ViAttr, void *) { return VI_ERROR_INV_OBJECT; }
}
