#include <cstring>

#include "zr6200.h"

extern "C" {
ViStatus getCommonLibRevision(char buffer[32]) { std::strcpy(buffer, "0.0.0.0"); return VI_SUCCESS; }
ViStatus getCarrierInfo(ViSession, carrierRequest *) { return VI_ERROR_RSRC_NFOUND; }
ViStatus releaseCarrierInfo(carrierRequest *) { return VI_SUCCESS; }
ViStatus getStatusText(ViStatus, char buffer[1024]) { std::strcpy(buffer, "Unknown status"); return VI_SUCCESS; }
}
