// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// orvik-features: prints every feature of a simulated camera.
//   orvik-features [camera]   camera: a name such as exposure-mode, or a file path
#include <OrvikSim.h>

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

using namespace TKN::OrvAPI;

namespace {

std::string executableDir()
{
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool fileExists(const std::string &path)
{
    return access(path.c_str(), R_OK) == 0;
}

std::string findCamera(const std::string &camera)
{
    if (camera.find('/') != std::string::npos || fileExists(camera))
        return camera;
    std::string file = camera;
    if (camera.size() <= 5 || camera.compare(camera.size() - 5, 5, ".json") != 0)
        file += ".json";
    const std::string dir = executableDir();
    // Beside it in the build tree, under the prefix once installed.
    for (std::string path : {dir + "/cameras/", dir + "/" ORVIK_INSTALLED_CAMERAS "/"}) {
        path += file;
        if (fileExists(path))
            return path;
    }
    return file;
}

std::string valueText(const Feature &feature, OrvFeatureDataType type)
{
    std::string text;
    const OrvErrorType err = ReadValueText(feature, type, text);
    if (err == OrvErrWrongType)
        return "-";
    if (err != OrvErrSuccess)
        return "(error " + std::to_string(err) + ")";
    if (type == OrvFeatureDataString)
        return "\"" + text + "\"";
    if (type == OrvFeatureDataInt) {
        long long minimum = 0, maximum = 0, increment = 0;
        if (feature.GetRange(minimum, maximum) == OrvErrSuccess && feature.GetIncrement(increment) == OrvErrSuccess)
            text += "  [" + std::to_string(minimum) + ".." + std::to_string(maximum) + " step "
                    + std::to_string(increment) + "]";
    } else if (type == OrvFeatureDataFloat) {
        double minimum = 0, maximum = 0;
        char buffer[96];
        if (feature.GetRange(minimum, maximum) == OrvErrSuccess) {
            std::snprintf(buffer, sizeof(buffer), "  [%g..%g]", minimum, maximum);
            text += buffer;
        }
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const char usage[] = "usage: orvik-features [camera name or file]\n"
                         "Prints every feature of a simulated camera: name, type, access, value and\n"
                         "entries (unavailable ones in parentheses). The camera is a name from the\n"
                         "shipped cameras (default: exposure-mode) or a description file.\n";
    const std::string first = argc == 2 ? argv[1] : std::string();
    if (first == "-h" || first == "--help") {
        std::cout << usage;
        return 0;
    }
    if (first == "--version") {
        std::cout << "orvik-features " ORVIK_VERSION "\n";
        return 0;
    }
    if (argc > 2 || (!first.empty() && first[0] == '-')) {
        std::cerr << usage;
        return 2;
    }
    const std::string path = findCamera(argc == 2 ? argv[1] : "exposure-mode");
    std::shared_ptr<OrvSim::Camera> camera;
    try {
        camera = OrvSim::Camera::fromFile(path);
    } catch (const OrvSim::LoadError &error) {
        std::cerr << "orvik-features: " << error.what() << "\n";
        return 1;
    }
    std::cout << camera->name() << " (" << path << ")\n";
    if (!camera->description().empty())
        std::cout << camera->description() << "\n";
    std::cout << "\n";
    for (const FeaturePtr &feature : camera->features()) {
        std::string name;
        OrvFeatureDataType type = OrvFeatureDataUnknown;
        bool writable = false;
        feature->GetName(name);
        feature->GetDataType(type);
        feature->IsWritable(writable);
        const char *access = type == OrvFeatureDataCommand ? (writable ? "WO" : "--") : (writable ? "RW" : "RO");
        std::printf("%-24s %-11s %s  %s\n", name.c_str(), OrvSim::dataTypeName(type), access,
                    valueText(*feature, type).c_str());
        if (type == OrvFeatureDataEnum) {
            std::vector<std::string> entries;
            feature->GetValues(entries);
            std::string line;
            for (const std::string &entry : entries) {
                bool available = false;
                feature->IsValueAvailable(entry.c_str(), available);
                line += " " + (available ? entry : "(" + entry + ")");
            }
            std::printf("%-24s entries:%s\n", "", line.c_str());
        }
    }
    return 0;
}
