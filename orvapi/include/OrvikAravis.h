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

/// Runs action with the Aravis device behind camera, holding the lock that
/// guards it; with null when camera is not an open Aravis camera.
ORVIKCPP_API void withDevice(const TKN::OrvAPI::CameraPtr &camera, const std::function<void(_ArvDevice *)> &action);

} // namespace OrvArv

#endif // ORVIKARAVIS_H
