// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Time of FeatureManager's name lookups, reads, writes and box filling on a
// camera of 2000 features. Prints microseconds per call; asserts nothing.
#include <featuremanager.h>

#include <OrvikSim.h>

#include <QApplication>
#include <QComboBox>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

// Runs op in rounds until at least a quarter of a second has passed.
double microsecondsPerCall(const std::function<void()> &op)
{
    using Clock = std::chrono::steady_clock;
    long long calls = 0;
    const Clock::time_point start = Clock::now();
    Clock::duration elapsed{};
    do {
        for (int i = 0; i < 16; ++i)
            op();
        calls += 16;
        elapsed = Clock::now() - start;
    } while (elapsed < std::chrono::milliseconds(250));
    return std::chrono::duration<double, std::micro>(elapsed).count() / static_cast<double>(calls);
}

void report(const char *what, double microseconds)
{
    std::printf("%-36s %10.2f us\n", what, microseconds);
}

QString nameAt(const OrvSim::Camera &camera, std::size_t index)
{
    std::string name;
    camera.features().at(index)->GetName(name);
    return QString::fromStdString(name);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const std::shared_ptr<OrvSim::Camera> camera =
        OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(2000, 8), "bench");
    camera->setJournaling(false);
    CameraFeatureList list(new FeatureVector);
    for (const TKN::OrvAPI::FeaturePtr &feature : camera->features())
        list->append(feature);
    const FeatureManager manager(list);

    const std::size_t count = camera->features().size();
    const QString first = nameAt(*camera, 0);
    const QString middle = nameAt(*camera, count / 2);
    const QString last = nameAt(*camera, count - 1);
    std::printf("features %zu\n", count);

    report("FindFeature first", microsecondsPerCall([&] { manager.FindFeature(first); }));
    report("FindFeature middle", microsecondsPerCall([&] { manager.FindFeature(middle); }));
    report("FindFeature last", microsecondsPerCall([&] { manager.FindFeature(last); }));
    report("FindFeature missing", microsecondsPerCall([&] { manager.FindFeature("NoSuchFeature"); }));
    report("FindFeature missing x3",
           microsecondsPerCall([&] { manager.FindFeature("LineOutSelector", "SyncOutSelector", "NoSuchFeature"); }));
    report("GetValue AcquisitionFrameCount", microsecondsPerCall([&] { manager.GetValue("AcquisitionFrameCount"); }));
    int frames = 1;
    report("SetValue AcquisitionFrameCount", microsecondsPerCall([&] {
               frames = frames % 100 + 1;
               manager.SetValue("AcquisitionFrameCount", frames);
           }));
    QComboBox box;
    report("FillComboBox TriggerSource", microsecondsPerCall([&] { manager.FillComboBox("TriggerSource", &box); }));
    report("FillComboBox TriggerSource tips",
           microsecondsPerCall([&] { manager.FillComboBox("TriggerSource", &box, true); }));
    return 0;
}
