#pragma once
/* The subset of the VISA library's C interface this panel uses, with the
 * standard's names and values. A real VISA library satisfies it as is. */

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int ViUInt32;
typedef signed int ViInt32;
typedef unsigned short ViUInt16;
typedef signed short ViInt16;
typedef char ViChar;
typedef ViChar *ViString;
typedef const ViChar *ViConstString;
typedef ViString ViRsrc;
typedef ViConstString ViConstRsrc;
typedef ViUInt16 ViBoolean;
typedef double ViReal64;
typedef ViInt32 ViStatus;
typedef ViUInt32 ViObject;
typedef ViObject ViSession;
typedef ViSession *ViPSession;
typedef ViObject ViFindList;
typedef ViFindList *ViPFindList;
typedef ViUInt32 *ViPUInt32;
typedef ViUInt32 ViAttr;
typedef ViUInt32 ViAccessMode;
typedef void *ViAttrState;

#define VI_NULL 0
#define VI_TRUE 1
#define VI_FALSE 0
#define VI_SUCCESS 0
#define VI_FIND_BUFLEN 256

#define VI_ATTR_SLOT 0x3FFF00E8UL
#define VI_ATTR_INTF_TYPE 0x3FFF0171UL
#define VI_ATTR_TCPIP_ADDR 0xBFFF0195UL
#define VI_ATTR_TCPIP_HOSTNAME 0xBFFF0196UL
#define VI_ATTR_TCPIP_DEVICE_NAME 0xBFFF0199UL

#define VI_INTF_GPIB 1
#define VI_INTF_VXI 2
#define VI_INTF_GPIB_VXI 3
#define VI_INTF_ASRL 4
#define VI_INTF_PXI 5
#define VI_INTF_TCPIP 6
#define VI_INTF_USB 7

#define VI_SUCCESS_DEV_NPRESENT ((ViStatus)0x3FFF007DL)
#define VI_WARN_NULL_OBJECT ((ViStatus)0x3FFF0082L)
#define VI_WARN_UNKNOWN_STATUS ((ViStatus)0x3FFF0085L)

#define VI_ERROR_SYSTEM_ERROR ((ViStatus)0xBFFF0000L)
#define VI_ERROR_INV_OBJECT ((ViStatus)0xBFFF000EL)
#define VI_ERROR_RSRC_LOCKED ((ViStatus)0xBFFF000FL)
#define VI_ERROR_INV_EXPR ((ViStatus)0xBFFF0010L)
#define VI_ERROR_RSRC_NFOUND ((ViStatus)0xBFFF0011L)
#define VI_ERROR_INV_RSRC_NAME ((ViStatus)0xBFFF0012L)
#define VI_ERROR_INV_ACC_MODE ((ViStatus)0xBFFF0013L)
#define VI_ERROR_TMO ((ViStatus)0xBFFF0015L)
#define VI_ERROR_NSUP_ATTR ((ViStatus)0xBFFF001DL)
#define VI_ERROR_ALLOC ((ViStatus)0xBFFF003CL)
#define VI_ERROR_NSUP_OPER ((ViStatus)0xBFFF0067L)
#define VI_ERROR_USER_BUF ((ViStatus)0xBFFF0071L)
#define VI_ERROR_RSRC_BUSY ((ViStatus)0xBFFF0072L)
#define VI_ERROR_CONN_LOST ((ViStatus)0xBFFF00A6L)

/* Instrument driver completion codes of the VXIplug&play standard. */
#define VI_ERROR_PARAMETER1 ((ViStatus)0xBFFC0001L)
#define VI_ERROR_PARAMETER2 ((ViStatus)0xBFFC0002L)
#define VI_ERROR_PARAMETER3 ((ViStatus)0xBFFC0003L)
#define VI_ERROR_PARAMETER4 ((ViStatus)0xBFFC0004L)
#define VI_ERROR_PARAMETER5 ((ViStatus)0xBFFC0005L)
#define VI_ERROR_PARAMETER6 ((ViStatus)0xBFFC0006L)
#define VI_ERROR_PARAMETER7 ((ViStatus)0xBFFC0007L)
#define VI_ERROR_PARAMETER8 ((ViStatus)0xBFFC0008L)
#define VI_ERROR_FAIL_ID_QUERY ((ViStatus)0xBFFC0011L)
#define VI_ERROR_INV_RESPONSE ((ViStatus)0xBFFC0012L)
#define VI_WARN_NSUP_ID_QUERY ((ViStatus)0x3FFC0101L)
#define VI_WARN_NSUP_RESET ((ViStatus)0x3FFC0102L)
#define VI_WARN_NSUP_REV_QUERY ((ViStatus)0x3FFC0105L)

ViStatus viOpenDefaultRM(ViPSession vi);
ViStatus viFindRsrc(ViSession sesn, ViConstString expr, ViPFindList vi, ViPUInt32 retCnt, ViChar desc[]);
ViStatus viFindNext(ViFindList vi, ViChar desc[]);
ViStatus viOpen(ViSession sesn, ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout, ViPSession vi);
ViStatus viClose(ViObject vi);
ViStatus viGetAttribute(ViObject vi, ViAttr attrName, void *attrValue);

#ifdef __cplusplus
}
#endif
