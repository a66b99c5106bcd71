// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// End to end over the real GigE Vision protocol: Aravis's fake GigE Vision
// camera with our description, in a private network namespace that has
// only its loopback, opened by address and driven through the viewer's
// Trigger IO page. Nothing leaves the namespace; no discovery runs.
#include "pagecheck.h"

#include <QApplication>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

using namespace AravisTest;

namespace {

const char Address[] = "127.0.0.1";
QString s_NoNamespace; // why the namespace could not be made; empty when it was

// Enters a network namespace of the process's own, whose only interface is
// its loopback, and brings that up. Must run before any thread starts.
QString enterPrivateNetwork()
{
    if (unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("cannot make a network namespace (unshare: %1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return QStringLiteral("no socket in the namespace");
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    const bool up = ioctl(fd, SIOCGIFFLAGS, &request) == 0
                    && (request.ifr_flags |= IFF_UP | IFF_RUNNING, ioctl(fd, SIOCSIFFLAGS, &request) == 0);
    ::close(fd);
    return up ? QString() : QStringLiteral("cannot bring up the namespace's loopback");
}

} // namespace

class tst_GvFakeCamera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { delete m_Window; }

    void quickModes_data() { PageCheck::addQuickModeRows(); }
    void quickModes();
    void outputRows_data() { PageCheck::addOutputRows(); }
    void outputRows();
    void framesOverTheNetwork();

private:
    ArvGvFakeCamera *m_pFake = nullptr;
    MainWindow *m_Window = nullptr;
};

void tst_GvFakeCamera::initTestCase()
{
    if (!s_NoNamespace.isEmpty())
        QSKIP(qPrintable(s_NoNamespace + QStringLiteral(": the GigE Vision test needs one, skipped")));
    // GigE Vision stays on: inside the namespace it can reach only the loopback.
    arv_disable_interface("USB3Vision");
    m_pFake = arv_gv_fake_camera_new_full("lo", "GVTEST01", description().c_str());
    QVERIFY(m_pFake);
    QTRY_VERIFY(arv_gv_fake_camera_is_running(m_pFake));
}

void tst_GvFakeCamera::cleanupTestCase()
{
    if (m_pFake)
        g_object_unref(m_pFake);
}

void tst_GvFakeCamera::init()
{
    // The fake keeps its registers between connections: each case starts
    // from the state of a fresh fake, set before the page reads it.
    {
        CameraSystem cameras("cameras");
        const CameraPtr camera = cameras.OpenCamera(std::string("aravis:") + Address);
        for (const char *step : {"TriggerSelector=AcquisitionStart",
                                 "TriggerMode=Off",
                                 "TriggerSource=Line0",
                                 "TriggerActivation=RisingEdge",
                                 "TriggerSelector=FrameStart",
                                 "TriggerMode=Off",
                                 "TriggerSource=Line0",
                                 "TriggerActivation=RisingEdge",
                                 "ExposureMode=Timed",
                                 "AcquisitionMode=Continuous",
                                 "AcquisitionFrameCount=1",
                                 "LineSelector=Line2",
                                 "LineSource=Off",
                                 "LineInverter=false",
                                 "LineSelector=Line3",
                                 "LineSource=Off",
                                 "LineInverter=false",
                                 "LineSelector=Line0",
                                 "UserOutputSelector=UserOutput1",
                                 "UserOutputValue=false"})
            QCOMPARE(int(applyStep(camera, step)), int(OrvErrSuccess));
        camera->Close();
    }
    m_Window = new MainWindow;
    m_Window->setEchoMessages(true);
    m_Window->setCameraFolder(QStringLiteral("cameras"));
    m_Window->loadPlugins(QStringLiteral("plugins"));
    QString error;
    QVERIFY2(m_Window->openCamera(QStringLiteral("aravis:") + Address, &error), qPrintable(error));
    QVERIFY(PageCheck::page(*m_Window));
}

void tst_GvFakeCamera::quickModes()
{
    QFETCH(QString, mode);
    QFETCH(QString, expected);
    QVERIFY(PageCheck::runQuickMode(*m_Window, mode));
    const QStringList wrong = mismatches(m_Window->camera(), expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
}

void tst_GvFakeCamera::outputRows()
{
    QFETCH(int, row);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    PageCheck::driveOutputRow(*m_Window, row, source);
    const QStringList wrong = mismatches(m_Window->camera(), expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
}

void tst_GvFakeCamera::framesOverTheNetwork()
{
    const CameraPtr camera = m_Window->camera();
    QCOMPARE(text(camera->GetModelName()), QStringLiteral("Fake"));
    QVERIFY(m_Window->setAcquiring(true));
    QTRY_VERIFY_WITH_TIMEOUT(camera->GetFrameCount() >= 3, 10000);
    QVERIFY(m_Window->setAcquiring(false));
}

int main(int argc, char *argv[])
{
    s_NoNamespace = enterPrivateNetwork();
    QApplication app(argc, argv);
    tst_GvFakeCamera test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gvfakecamera.moc"
