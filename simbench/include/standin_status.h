#pragma once
/* Status codes of their own that the two driver stand-ins return, in the
 * instrument-specific ranges of the VXIplug&play standard. Tests use them;
 * the panel does not (it only knows 0, negative and positive). */

#include "visa.h"

/* Common driver library (zr6200_64). */
#define ZR6200_ERROR_NOT_A_CARRIER ((ViStatus)0xBFFC0C01L)
#define ZR6200_ERROR_SLOT_EMPTY ((ViStatus)0xBFFC0C02L)

/* Instrument driver (zr7480_64). */
#define ZR7480_ERROR_NOT_A_CARRIER ((ViStatus)0xBFFC0801L)
#define ZR7480_ERROR_NO_SUCH_SLOT ((ViStatus)0xBFFC0802L)
#define ZR7480_ERROR_SLOT_EMPTY ((ViStatus)0xBFFC0803L)
#define ZR7480_ERROR_RSRC_LIST ((ViStatus)0xBFFC0804L)
#define ZR7480_WARN_NO_RESET ((ViStatus)0x3FFC0901L)
#define ZR7480_WARN_RESERVED_FILTER ((ViStatus)0x3FFC0902L)
