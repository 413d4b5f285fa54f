/* What the virtual camera's parts share: its device name, the camera's
   property set, and the control requests the tests use to steer it. */
#pragma once

#define VCAM_DEVICE_NAME L"\\Device\\LumetraVirtualCamera"
#define VCAM_LINK_NAME L"\\DosDevices\\LumetraVirtualCamera"
#define VCAM_WIN32_NAME "\\\\.\\LumetraVirtualCamera"

/* {9C757C5A-8D95-453C-8284-906A68DC53FA}, the camera's own property set. */
#define VCAM_PROPERTY_SET_BYTES                                                                    \
    {0x5A, 0x7C, 0x75, 0x9C, 0x95, 0x8D, 0x3C, 0x45, 0x82, 0x84, 0x90, 0x6A, 0x68, 0xDC, 0x53, 0xFA}
#define VCAM_LIGHT_FREQUENCY 15

/* IOCTL_KS_PROPERTY: CTL_CODE(FILE_DEVICE_KS, 0, METHOD_NEITHER, FILE_ANY_ACCESS). */
#define VCAM_IOCTL_KS_PROPERTY 0x002F0003
/* The tests' own requests (FILE_DEVICE_UNKNOWN, METHOD_BUFFERED). */
#define VCAM_IOCTL_READ_LOG 0x00222000  /* out: the log, one line per request */
#define VCAM_IOCTL_CLEAR_LOG 0x00222004
#define VCAM_IOCTL_SET_VALUE 0x00222008 /* in: the 32-bit value a GET answers */
#define VCAM_IOCTL_LOG_COUNT 0x0022200C /* out: how many requests are logged */

#define VCAM_LOG_SIZE 16384
