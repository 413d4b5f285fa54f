#include "CameraPresence.h"

#include <cfgmgr32.h>

const char kCameraHardwareId[] = "usb\\vid_0ac8&pid_0302";

namespace {

const ULONG kPropertyBufferSize = 260;

// Reads one registry property of the node; a property that does not fit
// the buffer fails. The buffer starts cleared, so that each read is judged
// by its own bytes only.
BOOL ReadNodeProperty(DEVINST node, ULONG property, char *buffer)
{
    ULONG length = kPropertyBufferSize;
    ZeroMemory(buffer, kPropertyBufferSize);
    return CM_Get_DevNode_Registry_PropertyA(node, property, NULL, buffer, &length, 0) == CR_SUCCESS;
}

// A node counts only with its driver installed and a description; then its
// first hardware ID decides.
BOOL NodeIsCamera(DEVINST node)
{
    char buffer[kPropertyBufferSize];
    if (!ReadNodeProperty(node, CM_DRP_DRIVER, buffer) || !ReadNodeProperty(node, CM_DRP_DEVICEDESC, buffer) ||
        !ReadNodeProperty(node, CM_DRP_HARDWAREID, buffer))
        return FALSE;
    return _strnicmp(buffer, kCameraHardwareId, lstrlenA(kCameraHardwareId)) == 0;
}

// Moves to the next node in depth-first pre-order; FALSE past the last one.
BOOL NextNode(DEVINST *node)
{
    DEVINST next;
    if (CM_Get_Child(&next, *node, 0) == CR_SUCCESS) {
        *node = next;
        return TRUE;
    }
    while (CM_Get_Sibling(&next, *node, 0) != CR_SUCCESS) {
        if (CM_Get_Parent(&next, *node, 0) != CR_SUCCESS)
            return FALSE; // back at the root
        *node = next;
    }
    *node = next;
    return TRUE;
}

} // namespace

BOOL IsCameraPresent()
{
    DEVINST node;
    if (CM_Locate_DevNodeA(&node, NULL, CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS)
        return FALSE;
    do {
        if (NodeIsCamera(node))
            return TRUE;
    } while (NextNode(&node));
    return FALSE;
}
