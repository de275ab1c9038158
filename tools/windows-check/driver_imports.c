/* Calls every operation the panel uses from the two driver DLLs, linked
 * against the import libraries the Windows build makes. It is never run:
 * scripts/test-windows-cross.sh reads its import table. IMPORTED names the
 * DLL and the ordinal each call must be imported by; the script compares
 * them with what the linker made of the call. */
#include "zr6200.h"
#include "zr7480.h"

#define IMPORTED(dll, ordinal, call) (call)

int main(void)
{
    ViSession vi = VI_NULL;
    ViStatus status = VI_SUCCESS;
    ViUInt16 syncState = 0;
    ViInt16 ddsError = 0;
    ViUInt32 serialNumber = 0;
    ViChar option[4] = "";
    ViChar driverRevision[ZR7480_DRIVER_REVISION_SIZE] = "";
    ViChar instrumentRevision[16] = "";
    ViChar message[ZR7480_ERROR_MESSAGE_SIZE] = "";
    char commonRevision[32] = "";
    char statusText[1024] = "";
    carrierRequest request = {0};

    status |= IMPORTED("zr7480_64.dll", 3, zr7480_init("VXI0::1::INSTR", 1, VI_TRUE, VI_TRUE, &vi));
    status |= IMPORTED("zr7480_64.dll", 4, zr7480_configureChannel(vi, 1, 16, 0, 0));
    status |= IMPORTED("zr7480_64.dll", 6, zr7480_configureClock(vi, 0, 1.0e6, 1, 0, 0, 0));
    status |= IMPORTED("zr7480_64.dll", 8, zr7480_configureFpSynch(vi, 0));
    status |= IMPORTED("zr7480_64.dll", 10, zr7480_arm(vi));
    status |= IMPORTED("zr7480_64.dll", 11, zr7480_fpSyncPulse(vi, 1));
    status |= IMPORTED("zr7480_64.dll", 12, zr7480_getStatus(vi, &syncState, &ddsError));
    status |= IMPORTED("zr7480_64.dll", 17, zr7480_reset(vi));
    status |= IMPORTED("zr7480_64.dll", 20, zr7480_error_message(VI_NULL, status, message));
    status |= IMPORTED("zr7480_64.dll", 21, zr7480_revision_query(vi, driverRevision, instrumentRevision));
    status |= IMPORTED("zr7480_64.dll", 22, zr7480_getSerialNumber(vi, &serialNumber, option));
    status |= IMPORTED("zr7480_64.dll", 23, zr7480_close(vi));

    status |= IMPORTED("zr6200_64.dll", 1, getCommonLibRevision(commonRevision));
    status |= IMPORTED("zr6200_64.dll", 2, getCarrierInfo(vi, &request));
    status |= IMPORTED("zr6200_64.dll", 3, releaseCarrierInfo(&request));
    status |= IMPORTED("zr6200_64.dll", 6, getStatusText(status, statusText));

    return status == VI_SUCCESS ? 0 : 1;
}
