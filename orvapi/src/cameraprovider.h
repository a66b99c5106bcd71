// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// CameraProvider: one source of cameras behind TKN::OrvAPI::CameraSystem.
#ifndef ORVAPI_CAMERAPROVIDER_H
#define ORVAPI_CAMERAPROVIDER_H

#include "OrvikCamera.h"

#include <memory>
#include <string>
#include <vector>

namespace OrvSim {

class CameraProvider
{
public:
    virtual ~CameraProvider() = default;

    /// The id prefix: "sim", "aravis".
    virtual std::string name() const = 0;
    /// Cameras known without touching the network.
    virtual std::vector<TKN::OrvAPI::CameraInfo> list() const = 0;
    /// Cameras found by asking the network; may broadcast.
    virtual std::vector<TKN::OrvAPI::CameraInfo> find() = 0;
    /// Opens by the id without the provider prefix. Throws OpenError.
    virtual TKN::OrvAPI::CameraPtr open(const std::string &localId) = 0;
};

std::unique_ptr<CameraProvider> makeSimProvider(const std::string &cameraFolder);
/// Null when the library was built without Aravis.
std::unique_ptr<CameraProvider> makeAravisProvider(const std::string &cameraFolder);

} // namespace OrvSim

#endif // ORVAPI_CAMERAPROVIDER_H
