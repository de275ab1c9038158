#pragma once
/* The four operations of the family's common driver library (zr6200_64) the
 * panel imports, with the byte layouts its callers rely on. */

#include <stddef.h>

#include "visa.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Buffer sizes the library fills: the revision text and a status's text. */
#define ZR6200_REVISION_SIZE 32
#define ZR6200_STATUS_TEXT_SIZE 1024

/* Filled by the caller before getCarrierInfo; 24 bytes. */
typedef struct carrierRequest
{
    void *carrier;      /* 0: out, the carrier object */
    ViUInt16 reserved0; /* 8: 0 */
    ViUInt32 rmSession; /* 12: the VISA resource manager session */
    ViUInt32 reserved1; /* 16: 0 */
    ViUInt16 reserved2; /* 20: 0 */
} carrierRequest;

/* Carrier object and data block, read by byte offset. */
#define ZR6200_CARRIER_DATA_OFFSET 0x00         /* pointer to the data block */
#define ZR6200_CARRIER_GETINTERFACE_OFFSET 0x40 /* getInterface function pointer */
#define ZR6200_DATA_SLOT_COUNT_OFFSET 256       /* int32 */
#define ZR6200_DATA_MODEL_ID_OFFSET 260         /* uint16; slot k's id code at 260 + 2k */
#define ZR6200_READFCWORD_ENTRY 4               /* entry of interface 1 */

typedef void **(*zr6200_getInterface_t)(void *carrier, int index, int version);
typedef ViStatus (*zr6200_readFcWord_t)(void *carrier, ViUInt16 slot, int offset, ViUInt16 *result);

ViStatus getCommonLibRevision(char buffer[ZR6200_REVISION_SIZE]);              /* 1 */
ViStatus getCarrierInfo(ViSession vi, carrierRequest *request);                /* 2 */
ViStatus releaseCarrierInfo(carrierRequest *request);                          /* 3 */
ViStatus getStatusText(ViStatus status, char buffer[ZR6200_STATUS_TEXT_SIZE]); /* 6 */

#ifdef __cplusplus
}

static_assert(sizeof(carrierRequest) == 24, "carrierRequest is 24 bytes");
static_assert(offsetof(carrierRequest, reserved0) == 8, "layout");
static_assert(offsetof(carrierRequest, rmSession) == 12, "layout");
static_assert(offsetof(carrierRequest, reserved1) == 16, "layout");
static_assert(offsetof(carrierRequest, reserved2) == 20, "layout");
#endif
