// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisLink: a device in front of another that counts and delays every
// register access, as a network link to a camera would.
#ifndef ORVARV_ARAVISLINK_H
#define ORVARV_ARAVISLINK_H

#include <arv.h>

#include <thread>

namespace OrvArv {

/// Wraps inner (taking over its reference) in a device whose register
/// accesses go through the link: each waits the latency and is counted, for
/// the thread that made the device apart from the others. The GenICam
/// description is the inner device's, so Aravis's register cache sits in
/// front of the link as it sits in front of a camera.
ArvDevice *linkDeviceNew(ArvDevice *inner);
/// Null when device is no link device.
ArvDevice *linkDeviceInner(ArvDevice *device);
/// False when device is no link device.
bool linkDeviceSetLatency(ArvDevice *device, double milliseconds);
bool linkDeviceAccesses(ArvDevice *device, unsigned long long &ownThread, unsigned long long &otherThreads);
bool linkDeviceResetAccesses(ArvDevice *device);

} // namespace OrvArv

#endif // ORVARV_ARAVISLINK_H
