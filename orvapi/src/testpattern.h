// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TestPattern: the image a simulated camera delivers: colour bars, a ramp
// and a stripe that move with the frame number, stamped with the frame
// number and timestamp.
#ifndef ORVSIM_TESTPATTERN_H
#define ORVSIM_TESTPATTERN_H

#include "OrvikCamera.h"

#include <string>

namespace OrvSim {

class TestPattern
{
public:
    /// Fills image.data for its width, height and pixelFormat. Formats
    /// without a renderer here (packed ones) leave data empty and return false.
    static bool render(TKN::OrvAPI::FrameImage &image);
};

} // namespace OrvSim

#endif // ORVSIM_TESTPATTERN_H
