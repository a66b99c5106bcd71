// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// OrvikAravis: controls of the Aravis provider for tests and tools: Aravis's
// in-process fake camera with a description of one's choice, and the Aravis
// device behind a camera for changes made "by the camera". Not part of
// TKN::OrvAPI: a client of the camera library opens cameras through
// CameraSystem (OrvikCamera.h).
#ifndef ORVIKARAVIS_H
#define ORVIKARAVIS_H

#include "OrvikCamera.h"

#include <functional>
#include <string>

struct _ArvDevice;

namespace OrvArv {

/// Opens Aravis's in-process fake camera (no discovery, no network) with the
/// GenICam description in genicamFile, or Aravis's own when it is empty.
/// Throws TKN::OrvAPI::OpenError.
ORVIKCPP_API TKN::OrvAPI::CameraPtr openFakeCamera(const std::string &serial, const std::string &genicamFile);

/// The fake camera behind a simulated link, for benchmarks: every register
/// access that gets past Aravis's register cache takes the link's latency
/// and is counted. withDevice hands out the link; camera-side changes go to
/// the fake camera through writeFakeRegister.
ORVIKCPP_API TKN::OrvAPI::CameraPtr openFakeCameraOnLink(const std::string &serial, const std::string &genicamFile);

/// For a camera from openFakeCameraOnLink; false for any other.
ORVIKCPP_API bool setFakeLink(const TKN::OrvAPI::CameraPtr &camera, double latencyMs, bool registerCache);
/// Register accesses that reached the fake camera since the last reset, of
/// the thread that opened it and of all others.
ORVIKCPP_API bool fakeLinkAccesses(const TKN::OrvAPI::CameraPtr &camera, unsigned long long &openingThread,
                                   unsigned long long &otherThreads);
ORVIKCPP_API bool resetFakeLinkAccesses(const TKN::OrvAPI::CameraPtr &camera);
/// Changes a register of the fake camera as the camera itself would, behind Aravis's back.
ORVIKCPP_API bool writeFakeRegister(const TKN::OrvAPI::CameraPtr &camera, unsigned int address, unsigned int value);

/// Runs action with the Aravis device behind camera, holding the lock that
/// guards it; with null when camera is not an open Aravis camera.
ORVIKCPP_API void withDevice(const TKN::OrvAPI::CameraPtr &camera, const std::function<void(_ArvDevice *)> &action);

} // namespace OrvArv

#endif // ORVIKARAVIS_H
