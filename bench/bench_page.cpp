// How long the Trigger IO page keeps the GUI thread busy: construction, the
// full refresh when it is shown, and a tick after one camera-side change,
// on the shipped default camera and on a generated 2000-feature camera.
// Prints milliseconds; asserts nothing.
#include <iotriggerwidget.h>

#include <OrvikSim.h>

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Lets the page at its protected refresh routines, as its timer would.
class BenchPage : public IOTriggerWidget
{
public:
    using IOTriggerWidget::IOTriggerWidget;
    void tick() { updateTimer(); }
};

CameraFeatureList featureList(const OrvSim::Camera &camera)
{
    CameraFeatureList list(new FeatureVector);
    for (const TKN::OrvAPI::FeaturePtr &feature : camera.features())
        list->append(feature);
    return list;
}

// The offscreen platform warns about every shown window; the numbers are what we want to read.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type >= QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measure(const char *label, const std::shared_ptr<OrvSim::Camera> &camera, const char *changedFeature,
             const char *value, const char *entry)
{
    camera->setJournaling(false);
    std::vector<double> construct, show, tick;
    QElapsedTimer timer;
    for (int run = 0; run < 7; ++run) {
        timer.start();
        BenchPage page(featureList(*camera), nullptr);
        construct.push_back(timer.nsecsElapsed() / 1e6);

        timer.start();
        page.show();
        show.push_back(timer.nsecsElapsed() / 1e6);

        camera->setFromCamera(changedFeature, value, entry);
        OrvSim::Camera::waitForNotifications();
        QCoreApplication::processEvents();
        timer.start();
        page.tick();
        tick.push_back(timer.nsecsElapsed() / 1e6);
        OrvSim::Camera::waitForNotifications();
    }
    std::printf("%-34s construct %7.2f ms   show %7.2f ms   tick after %s %7.2f ms\n", label, median(construct),
                median(show), changedFeature, median(tick));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);

    const std::string cameras = std::string(ORVIK_CAMERA_DIR) + "/";
    std::printf("medians of 7 runs\n");
    measure("exposure-mode (default camera)", OrvSim::Camera::fromFile(cameras + "exposure-mode.json"),
            "LineInverter", "true", "Line2");
    measure("syncout", OrvSim::Camera::fromFile(cameras + "syncout.json"), "SyncOutLevels", "5", "");
    measure("generated, 2000 features, 8 lines",
            OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(2000, 8), "large"), "LineInverter", "true",
            "");
    return 0;
}
