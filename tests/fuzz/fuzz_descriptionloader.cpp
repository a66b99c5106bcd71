// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as a camera description. Loading must end in a
// camera or a LoadError; a crash, a sanitizer report, a hang or any other
// exception is a finding. A loaded camera is used as a client would, so that
// the rules it was built from are evaluated too.
#include <OrvikSim.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace TKN::OrvAPI;

namespace {

// Bounded per input, so that a large description does not slow the run down.
const std::size_t MaxEntriesTried = 8;

void useFeature(const FeaturePtr &feature)
{
    std::string text;
    OrvFeatureDataType type = OrvFeatureDataUnknown;
    bool flag = false;
    feature->GetName(text);
    feature->GetDisplayName(text);
    feature->GetDataType(type);
    feature->IsWritable(flag);
    switch (type) {
    case OrvFeatureDataInt: {
        long long value = 0, minimum = 0, maximum = 0, increment = 0;
        feature->GetValue(value);
        feature->GetRange(minimum, maximum);
        feature->GetIncrement(increment);
        feature->SetValue(static_cast<const long long &>(maximum));
        feature->SetValue(static_cast<const long long &>(value));
        break;
    }
    case OrvFeatureDataFloat: {
        double value = 0, minimum = 0, maximum = 0;
        feature->GetValue(value);
        feature->GetRange(minimum, maximum);
        feature->SetValue(static_cast<const double &>(maximum));
        break;
    }
    case OrvFeatureDataBool:
        feature->GetValue(flag);
        feature->SetValue(!flag);
        break;
    case OrvFeatureDataString:
        feature->GetValue(text);
        feature->SetValue(text.c_str());
        break;
    case OrvFeatureDataEnum: {
        std::vector<std::string> entries;
        feature->GetValue(text);
        feature->GetValues(entries);
        for (std::size_t k = 0; k < entries.size() && k < MaxEntriesTried; ++k) {
            feature->IsValueAvailable(entries[k].c_str(), flag);
            feature->SetValue(entries[k].c_str());
        }
        break;
    }
    case OrvFeatureDataCommand: feature->RunCommand(); break;
    default: break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    try {
        const std::shared_ptr<OrvSim::Camera> camera = OrvSim::Camera::fromJson(text, "fuzz.json");
        for (const FeaturePtr &feature : camera->features())
            useFeature(feature);
        // Twice: the first pass changed selectors, so the rules read other entries now.
        for (const FeaturePtr &feature : camera->features())
            useFeature(feature);
    } catch (const OrvSim::LoadError &) {
    }
    return 0;
}
