// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The large camera description used by the benchmarks.
#include "OrvikSim.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

using json = nlohmann::json;

namespace OrvSim {

namespace {

json enumeration(const std::string &name, const std::vector<std::string> &entries, const std::string &value)
{
    return json{{"name", name}, {"type", "Enumeration"}, {"entries", entries}, {"value", value}};
}

json triggerFeatures(int lineCount)
{
    const int inputs = std::max(1, lineCount / 2);
    std::vector<std::string> lines, triggerSources, userOutputs;
    json lineModes = json::object(), lineSources = json::object();
    for (int line = 0; line < lineCount; ++line) {
        const std::string name = "Line" + std::to_string(line);
        lines.push_back(name);
        triggerSources.push_back(name);
        if (line >= inputs) {
            lineModes[name] = "Output";
            lineSources[name] = "UserOutput" + std::to_string(line - inputs + 1);
        }
    }
    triggerSources.push_back("Software");
    triggerSources.push_back("SoftwareSignal0");
    for (int output = 1; output <= std::max(1, lineCount - inputs); ++output)
        userOutputs.push_back("UserOutput" + std::to_string(output));
    std::vector<std::string> sources = {"Off", "Direct", "ExposureActive", "FrameTriggerWait"};
    sources.insert(sources.end(), userOutputs.begin(), userOutputs.end());

    json features = json::array();
    features.push_back({{"name", "DeviceVendorName"}, {"type", "String"}, {"value", "Orvik"}, {"writable", false}});
    features.push_back({{"name", "DeviceModelName"}, {"type", "String"}, {"value", "BENCH-2000"}, {"writable", false}});
    features.push_back({{"name", "Width"},
                        {"type", "Integer"},
                        {"value", 4096},
                        {"min", 16},
                        {"max", 4096},
                        {"inc", 16},
                        {"lockedWhileAcquiring", true}});
    features.push_back({{"name", "Height"},
                        {"type", "Integer"},
                        {"value", 3000},
                        {"min", 2},
                        {"max", 3000},
                        {"inc", 2},
                        {"lockedWhileAcquiring", true}});
    json pixelFormat = enumeration("PixelFormat", {"Mono8", "Mono12"}, "Mono8");
    pixelFormat["lockedWhileAcquiring"] = true;
    features.push_back(pixelFormat);
    features.push_back({{"name", "ExposureTime"},
                        {"type", "Float"},
                        {"value", 10000.0},
                        {"min", 10.0},
                        {"max", 1e7},
                        {"writable", {{"feature", "ExposureMode"}, {"is", "Timed"}}}});
    for (const char *name :
         {"AcquisitionMode", "ExposureMode", "TriggerSelector", "TriggerMode", "TriggerSource", "TriggerActivation"}) {
        json feature;
        const std::string n = name;
        if (n == "AcquisitionMode")
            feature = enumeration(n, {"SingleFrame", "MultiFrame", "Continuous"}, "Continuous");
        else if (n == "ExposureMode")
            feature = enumeration(n, {"Timed", "TriggerWidth"}, "Timed");
        else if (n == "TriggerSelector")
            feature = enumeration(n, {"AcquisitionStart", "FrameStart"}, "FrameStart"),
            feature["selects"] = {"TriggerMode", "TriggerSource", "TriggerActivation"};
        else if (n == "TriggerMode")
            feature = enumeration(n, {"Off", "On"}, "Off");
        else if (n == "TriggerSource")
            feature = enumeration(n, triggerSources, "Line0");
        else
            feature = enumeration(n, {"RisingEdge", "FallingEdge", "AnyEdge", "LevelHigh", "LevelLow"}, "RisingEdge");
        feature["lockedWhileAcquiring"] = true;
        features.push_back(feature);
    }
    features.push_back({{"name", "AcquisitionFrameCount"},
                        {"type", "Integer"},
                        {"value", 1},
                        {"min", 1},
                        {"max", 65535},
                        {"inc", 1},
                        {"lockedWhileAcquiring", true}});
    for (const char *name : {"AcquisitionStart", "AcquisitionStop", "TriggerSoftware"})
        features.push_back({{"name", name}, {"type", "Command"}});

    json lineSelector = enumeration("LineSelector", lines, "Line0");
    lineSelector["selects"] = {"LineMode", "LineSource", "LineInverter", "LineStatus"};
    features.push_back(lineSelector);
    json lineMode = enumeration("LineMode", {"Input", "Output"}, "Input");
    lineMode["values"] = lineModes;
    lineMode["writable"] = false;
    features.push_back(lineMode);
    json lineSource = enumeration("LineSource", sources, "Off");
    lineSource["values"] = lineSources;
    lineSource["writable"] = {{"feature", "LineMode"}, {"is", "Output"}};
    features.push_back(lineSource);
    features.push_back({{"name", "LineInverter"}, {"type", "Boolean"}, {"value", false}});
    features.push_back(
        {{"name", "LineStatus"},
         {"type", "Boolean"},
         {"value", false},
         {"volatile", true},
         {"writable",
          {{"all", {{{"feature", "LineMode"}, {"is", "Output"}}, {{"feature", "LineSource"}, {"is", "Direct"}}}}}}});
    json userOutputSelector = enumeration("UserOutputSelector", userOutputs, userOutputs.front());
    userOutputSelector["selects"] = {"UserOutputValue"};
    features.push_back(userOutputSelector);
    features.push_back({{"name", "UserOutputValue"}, {"type", "Boolean"}, {"value", false}});
    return features;
}

json filler(int index)
{
    static const char *const types[] = {"Integer", "Float", "Enumeration", "String", "Boolean", "Command", "Raw"};
    const std::string type = types[index % 7];
    char name[64];
    std::snprintf(name, sizeof(name), "Filler%s%04d", type.c_str(), index);
    json feature = {{"name", name}, {"type", type}};
    if (type == "Integer")
        feature.update({{"value", 0}, {"min", 0}, {"max", 1000000}, {"inc", 1}});
    else if (type == "Float")
        feature.update({{"value", 1.5}, {"min", 0.0}, {"max", 100.0}});
    else if (type == "Enumeration")
        feature.update({{"entries", {"Alpha", "Beta", "Gamma", "Delta"}}, {"value", "Alpha"}});
    else if (type == "String")
        feature["value"] = std::string("text of ") + name;
    else if (type == "Boolean")
        feature["value"] = index % 2 == 0;
    // Some fillers depend on the trigger, as real cameras' features do.
    if (index % 50 == 1)
        feature["writable"] = {{"feature", "TriggerMode"}, {"is", "Off"}};
    if (index % 30 == 0)
        feature["lockedWhileAcquiring"] = true;
    return feature;
}

} // namespace

std::string Camera::largeCameraJson(int featureCount, int lineCount)
{
    const json core = triggerFeatures(std::max(2, lineCount));
    const int fillers = std::max(0, featureCount - static_cast<int>(core.size()));
    json features = json::array();
    // The trigger features sit in the middle, where a name lookup has to walk half the list.
    for (int index = 0; index < fillers / 2; ++index)
        features.push_back(filler(index));
    for (const json &feature : core)
        features.push_back(feature);
    for (int index = fillers / 2; index < fillers; ++index)
        features.push_back(filler(index));
    const json camera = {
        {"name", "Orvik BENCH-2000"}, {"description", "Large camera for benchmarks"}, {"features", features}};
    return camera.dump(1);
}

} // namespace OrvSim
