#pragma once
/* Instrument driver of the 7480 function card (zr7480_64), imported by ordinal
 * on Windows; the ordinals are given beside each operation. */

#include "visa.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Buffer sizes the callers provide. */
#define ZR7480_ERROR_MESSAGE_SIZE 1024
#define ZR7480_DRIVER_REVISION_SIZE 64

ViStatus zr7480_init(ViRsrc rsrcName, ViUInt16 fcNumber, ViBoolean idQuery, ViBoolean reset, ViSession *vi);     /* 3 */
ViStatus zr7480_configureChannel(ViSession vi, ViInt16 channel, ViUInt16 filter, ViInt16 gain, ViUInt16 output); /* 4 */
ViStatus zr7480_configureClock(ViSession vi, ViInt16 clockSource, ViReal64 ddsFrequency, ViUInt16 clockDivider,
                               ViUInt16 synchSource, ViUInt16 fpClockOutput, ViUInt16 mbClockOutput); /* 6 */
ViStatus zr7480_configureFpSynch(ViSession vi, ViInt16 mode);                                         /* 8 */
ViStatus zr7480_arm(ViSession vi);                                                                    /* 10 */
ViStatus zr7480_fpSyncPulse(ViSession vi, ViUInt16 edge);                        /* 11: 0 falling, 1 rising */
ViStatus zr7480_getStatus(ViSession vi, ViUInt16 *syncState, ViInt16 *ddsError); /* 12 */
ViStatus zr7480_reset(ViSession vi);                                             /* 17 */
ViStatus zr7480_error_message(ViSession vi, ViStatus status, ViChar message[]);  /* 20 */
ViStatus zr7480_revision_query(ViSession vi, ViChar driverRevision[], ViChar instrumentRevision[]); /* 21 */
ViStatus zr7480_getSerialNumber(ViSession vi, ViUInt32 *serialNumber, ViChar option[]);             /* 22 */
ViStatus zr7480_close(ViSession vi);                                                                /* 23 */

#ifdef __cplusplus
}
#endif
