// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Built without Aravis: no provider for it.
#include "cameraprovider.h"

namespace OrvSim {

std::unique_ptr<CameraProvider> makeAravisProvider(const std::string &)
{
    return nullptr;
}

} // namespace OrvSim
