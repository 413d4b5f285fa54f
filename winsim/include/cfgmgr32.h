// Host stand-in for <cfgmgr32.h>: walking the device tree and reading its
// nodes' registry properties.
#pragma once

#include <windows.h>

typedef DWORD CONFIGRET;
typedef DWORD DEVINST, DEVNODE, *PDEVINST, *PDEVNODE;
typedef CHAR *DEVINSTID_A;

#define CMAPI DECLSPEC_IMPORT

#define CR_SUCCESS 0x00000000
#define CR_FAILURE 0x00000013
#define CR_INVALID_POINTER 0x00000003
#define CR_INVALID_DEVNODE 0x00000005
#define CR_INVALID_FLAG 0x0000000B
#define CR_BUFFER_SMALL 0x0000001A
#define CR_NO_SUCH_DEVNODE 0x0000000D
#define CR_NO_SUCH_VALUE 0x00000025

#define CM_LOCATE_DEVNODE_NORMAL 0x00000000

#define CM_DRP_DEVICEDESC 0x00000001
#define CM_DRP_HARDWAREID 0x00000002
#define CM_DRP_DRIVER 0x0000000A

CMAPI CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST pdnDevInst, DEVINSTID_A pDeviceID, ULONG ulFlags);
CMAPI CONFIGRET WINAPI CM_Get_Child(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags);
CMAPI CONFIGRET WINAPI CM_Get_Sibling(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags);
CMAPI CONFIGRET WINAPI CM_Get_Parent(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags);
CMAPI CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST dnDevInst, ULONG ulProperty, PULONG pulRegDataType,
                                                         PVOID Buffer, PULONG pulLength, ULONG ulFlags);
