// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// What the Trigger IO page costs on a camera link: for every operation a
// person can do on the page (with the tick that follows it), the library
// calls the page makes on the GUI thread, the accesses that reach the camera
// and the time the GUI thread is held, at no latency and at a network link's,
// with the library's cache off and on. Prints a table; asserts nothing.
#include "benchcamera.h"

#include <iotriggerwidget.h>

#include <OrvikSim.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct LinkConfig
{
    double latencyMs;
    bool cache;
};

/// One operation's cost.
struct Sample
{
    long long calls = 0;
    long long wire = -1;
    long long otherWire = -1;
    double ms = 0;
};

/// Everything measured for one operation, per link configuration and run.
struct Row
{
    std::string name;
    std::vector<std::vector<Sample>> samples; // [config][run]
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The offscreen platform warns about every shown window; the numbers are what we want to read.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type >= QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

} // namespace

/// Drives one page as a person would and measures each step. A friend of the
/// page, to reach its controls.
class PageBench
{
public:
    typedef std::function<bool(PageBench &)> Action;

    explicit PageBench(BenchCamera &camera)
        : m_Camera(camera)
    {
    }

    /// Construction, first show and the first tick; false when the camera has no trigger I/O.
    bool open(Sample &sample)
    {
        begin();
        QElapsedTimer timer;
        timer.start();
        try {
            m_Page.reset(new IOTriggerWidget(m_Camera.featureList(), nullptr));
        } catch (...) {
            return false;
        }
        m_Page->show();
        // Ticks come from the bench, one per operation, not from the page's timer.
        m_Page->RefreshTimer->stop();
        double ms = timer.nsecsElapsed() / 1e6;
        sample = finish(ms, true);
        return true;
    }

    /// Runs action and the tick after it; false when the page lacks what the action needs.
    bool run(const Action &action, Sample &sample)
    {
        begin();
        QElapsedTimer timer;
        timer.start();
        if (!action(*this))
            return false;
        sample = finish(timer.nsecsElapsed() / 1e6, true);
        return true;
    }

    /// A change the camera makes by itself, then the tick that picks it up; only the tick is timed.
    bool tickAfterCameraChange(const char *feature, const char *value, const char *entry, Sample &sample)
    {
        begin();
        if (!m_Camera.changeFromCamera(feature, value, entry))
            return false;
        sample = finish(0, true);
        return true;
    }

    IOTriggerWidget *page() const { return m_Page.get(); }

    // The actions.
    static bool nextEntry(QComboBox *box)
    {
        if (!box || box->count() < 2)
            return false;
        box->setCurrentIndex((box->currentIndex() + 1) % box->count());
        return true;
    }
    static bool toggle(QCheckBox *box)
    {
        if (!box)
            return false;
        box->setChecked(!box->isChecked());
        return true;
    }
    static bool click(QPushButton *button)
    {
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
    bool firstRow(const std::function<bool(const OutputLine &)> &action)
    {
        for (const QSharedPointer<OutputLine> &line : m_Page->m_OutputLines)
            if (line->ComboSource && line->ComboSource->isEnabled())
                return action(*line);
        return false;
    }
    bool selectable(const char *mode)
    {
        for (QWidget *widget : m_Page->m_SelectableOutputWidgets) {
            QComboBox *box = qobject_cast<QComboBox *>(widget);
            const int index = box ? box->findText(mode) : -1;
            if (index >= 0 && index != box->currentIndex()) {
                box->setCurrentIndex(index);
                return true;
            }
        }
        return false;
    }

    static std::vector<std::pair<std::string, Action>> actions()
    {
        typedef PageBench P;
        return {
            {"TriggerSelector", [](P &b) { return nextEntry(b.page()->m_pComboTriggerSelector); }},
            {"TriggerMode", [](P &b) { return nextEntry(b.page()->m_pComboTriggerMode); }},
            {"TriggerSource", [](P &b) { return nextEntry(b.page()->m_pComboTriggerSource); }},
            {"TriggerActivation", [](P &b) { return nextEntry(b.page()->m_pComboTriggerActivation); }},
            {"AcquisitionMode", [](P &b) { return nextEntry(b.page()->m_pComboAcquisitionMode); }},
            {"frame count",
             [](P &b) {
                 QSpinBox *spin = b.page()->m_pSpinAcquisitionFrameCount;
                 if (!spin || !spin->isEnabled())
                     return false;
                 spin->setValue(spin->value() + 1);
                 return true;
             }},
            {"ExposureMode", [](P &b) { return nextEntry(b.page()->m_pComboExposureMode); }},
            {"ExposureAuto", [](P &b) { return nextEntry(b.page()->m_pComboExposureAuto); }},
            {"InputLineSelector", [](P &b) { return nextEntry(b.page()->m_pComboInputLineSelector); }},
            {"line routing", [](P &b) { return toggle(b.page()->m_pCBLineRouting); }},
            {"software trigger", [](P &b) { return click(b.page()->m_pButtonSWTrigger); }},
            {"output row: pick a source",
             [](P &b) { return b.firstRow([](const OutputLine &l) { return nextEntry(l.ComboSource.data()); }); }},
            {"output row: invert",
             [](P &b) { return b.firstRow([](const OutputLine &l) { return toggle(l.CBInvert.data()); }); }},
            {"output row: status",
             [](P &b) { return b.firstRow([](const OutputLine &l) { return toggle(l.CBStatus.data()); }); }},
            {"output row: user output",
             [](P &b) { return b.firstRow([](const OutputLine &l) { return nextEntry(l.ComboUserOutSel.data()); }); }},
            {"output row: user value",
             [](P &b) { return b.firstRow([](const OutputLine &l) { return toggle(l.CBUserValue.data()); }); }},
            {"selectable line to Output", [](P &b) { return b.selectable("Output"); }},
            {"selectable line to Input", [](P &b) { return b.selectable("Input"); }},
            {"quick mode Edge", [](P &b) { return click(b.page()->m_pButtonEdge); }},
            {"quick mode Level", [](P &b) { return click(b.page()->m_pButtonLevel); }},
            {"quick mode Bulk", [](P &b) { return click(b.page()->m_pButtonBulk); }},
        };
    }

private:
    void begin()
    {
        m_Camera.settle();
        QCoreApplication::processEvents();
        m_Camera.resetCounts();
    }

    Sample finish(double actionMs, bool tick)
    {
        // The observers' notifications reach the page by the event loop
        // before its tick; the wait for the library's thread is not the page's time.
        m_Camera.settle();
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::processEvents();
        if (tick && m_Page)
            m_Page->updateTimer();
        Sample sample;
        sample.ms = actionMs + timer.nsecsElapsed() / 1e6;
        m_Camera.settle();
        sample.calls = m_Camera.calls();
        sample.wire = m_Camera.wireAccesses();
        sample.otherWire = m_Camera.otherWireAccesses();
        return sample;
    }

    BenchCamera &m_Camera;
    std::unique_ptr<IOTriggerWidget> m_Page;
};

namespace {

const char *const s_Open = "open the tab (construct, show, tick)";
const char *const s_Idle = "idle tick";
const char *const s_Change = "tick after one camera-side change";
const char *const s_SelectorChange = "tick after a TriggerSelector change";

/// One full pass over a fresh camera and page; rows in order, absent ones skipped.
bool pass(const BenchSpec &subject, const LinkConfig &config, std::vector<std::pair<std::string, Sample>> &results)
{
    std::unique_ptr<BenchCamera> camera = subject.make();
    if (!camera)
        return false;
    camera->setLink(config.latencyMs, config.cache);
    PageBench bench(*camera);
    Sample sample;
    if (!bench.open(sample))
        return false;
    results.emplace_back(s_Open, sample);
    if (bench.run([](PageBench &) { return true; }, sample))
        results.emplace_back(s_Idle, sample);
    if (bench.tickAfterCameraChange(subject.changedFeature, subject.changedValue, subject.changedEntry, sample))
        results.emplace_back(s_Change, sample);
    if (bench.tickAfterCameraChange("TriggerSelector", subject.otherTriggerSelector, "", sample))
        results.emplace_back(s_SelectorChange, sample);
    for (const auto &action : PageBench::actions()) {
        if (bench.run(action.second, sample))
            results.emplace_back("slot " + action.first, sample);
    }
    return true;
}

void printTable(const BenchSpec &subject, const std::vector<LinkConfig> &configs, int runs)
{
    std::vector<Row> rows;
    for (std::size_t c = 0; c < configs.size(); ++c) {
        for (int run = 0; run < runs; ++run) {
            std::vector<std::pair<std::string, Sample>> results;
            if (!pass(subject, configs[c], results)) {
                std::printf("\n%s: no Trigger IO page (the camera has no trigger I/O)\n", subject.label.c_str());
                return;
            }
            for (const auto &result : results) {
                auto row = std::find_if(rows.begin(), rows.end(), [&](const Row &r) { return r.name == result.first; });
                if (row == rows.end()) {
                    rows.push_back(Row{result.first, std::vector<std::vector<Sample>>(configs.size())});
                    row = rows.end() - 1;
                }
                row->samples[c].push_back(result.second);
            }
        }
    }

    std::printf("\n%s\n", subject.label.c_str());
    std::printf("%-40s %6s | %-11s | %-11s |", "operation (and the tick after it)", "calls", "wire off/on", "other");
    for (const LinkConfig &config : configs)
        if (config.cache)
            std::printf(" ms @%.1f off/on  |", config.latencyMs);
    std::printf("\n");
    for (const Row &row : rows) {
        // Quick modes wait 200 ms for the camera; they are waits, not work:
        // counted from the run with the least work, taken off every run.
        int waits = 0;
        for (std::size_t c = 0; c < configs.size(); ++c)
            if (configs[c].latencyMs == 0 && configs[c].cache && !row.samples[c].empty())
                waits = static_cast<int>(row.samples[c].front().ms / 200.0);
        auto ms = [&](std::size_t c) {
            std::vector<double> values;
            for (const Sample &sample : row.samples[c])
                values.push_back(std::max(0.0, sample.ms - 200.0 * waits));
            return values.empty() ? -1.0 : median(values);
        };
        auto first = [&](std::size_t c) { return row.samples[c].empty() ? Sample() : row.samples[c].front(); };
        // Columns in pairs: cache off, cache on, at each latency.
        const Sample off = first(0), on = first(1);
        char wire[32], other[32];
        if (off.wire < 0)
            std::snprintf(wire, sizeof(wire), "%s", "n/a");
        else
            std::snprintf(wire, sizeof(wire), "%5lld %5lld", off.wire, on.wire);
        if (off.otherWire < 0)
            std::snprintf(other, sizeof(other), "%s", "n/a");
        else
            std::snprintf(other, sizeof(other), "%5lld %5lld", off.otherWire, on.otherWire);
        std::printf("%-40s %6lld | %-11s | %-11s |", row.name.c_str(), on.calls, wire, other);
        for (std::size_t c = 0; c + 1 < configs.size(); c += 2)
            std::printf(" %7.2f %7.2f  |", ms(c), ms(c + 1));
        std::printf("%s\n", waits ? "  (200 ms waits taken off)" : "");
    }
    std::fflush(stdout);
}

void printConstruction(const std::shared_ptr<OrvSim::Camera> &camera)
{
    const int featureCount = static_cast<int>(camera->features().size());
    camera->setJournaling(false);
    std::vector<double> wall, cpu;
    for (int run = 0; run < 9; ++run) {
        CameraFeatureList list(new FeatureVector);
        for (const TKN::OrvAPI::FeaturePtr &feature : camera->features())
            list->append(feature);
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        IOTriggerWidget page(list, nullptr);
        cpu.push_back(threadCpuMs() - cpuStart);
        wall.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("page construction, %5d features, no latency, cache on: %6.2f ms CPU, %6.2f ms wall\n", featureCount,
                median(cpu), median(wall));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);

    double latency = 0.5;
    int runs = 3;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--link-latency") && hasValue)
            latency = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--runs") && hasValue)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--camera") && hasValue)
            only = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_page [--link-latency MS (0.5)] [--runs N (3)] [--camera NAME]\n");
            return 2;
        }
    }

    const std::vector<LinkConfig> configs = {{0, false}, {0, true}, {latency, false}, {latency, true}};
    std::printf("calls: library calls of the GUI thread; wire: its accesses that reached the camera;\n"
                "other: those of the library's own threads (observers reading what they were told\n"
                "of, polling); ms: time the GUI thread was held, median of %d runs; off/on: the\n"
                "library's cache (and deferred selector writes) off and on\n",
                runs);
    for (const BenchSpec &subject : benchCameras(ORVIK_CAMERA_DIR)) {
        if (only.empty() || subject.label.find(only) != std::string::npos)
            printTable(subject, configs, runs);
    }
    std::printf("\n");
    // The widgets' own share: a camera of few features.
    printConstruction(OrvSim::Camera::fromFile(std::string(ORVIK_CAMERA_DIR) + "/exposure-mode.json"));
    printConstruction(OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(2000, 8), "large"));
    printConstruction(OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(10000, 8), "large"));
    return 0;
}
