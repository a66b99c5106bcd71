// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Opens a simulated camera of the installed library and prints a feature.
#include <OrvikCamera.h>

#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: consumer <camera folder>\n";
        return 2;
    }
    try {
        TKN::OrvAPI::CameraSystem system(argv[1]);
        const TKN::OrvAPI::CameraPtr camera = system.OpenCamera("sim:exposure-mode");
        std::string selector;
        if (camera->GetFeature("TriggerSelector")->GetValue(selector) != TKN::OrvAPI::OrvErrSuccess)
            return 1;
        std::cout << camera->GetModelName() << " TriggerSelector=" << selector << "\n";
        return 0;
    } catch (const TKN::OrvAPI::OpenError &e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
