// Helpers shared by the camera library's tests.
#ifndef ORVAPITEST_H
#define ORVAPITEST_H

#include <OrvikSim.h>

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace OrvapiTest {

inline QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

inline QStringList q(const std::vector<std::string> &texts)
{
    QStringList result;
    for (const std::string &text : texts)
        result << q(text);
    return result;
}

inline QString name(const TKN::OrvAPI::FeaturePtr &feature)
{
    std::string text;
    feature->GetName(text);
    return q(text);
}

inline QString text(const TKN::OrvAPI::FeaturePtr &feature)
{
    std::string value;
    const TKN::OrvAPI::OrvErrorType err = feature->GetValue(value);
    return err == TKN::OrvAPI::OrvErrSuccess ? q(value) : QString("error %1").arg(err);
}

inline QStringList journalTexts(const OrvSim::Camera &camera)
{
    QStringList result;
    for (const OrvSim::JournalEntry &entry : camera.journal())
        result << q(entry.text());
    return result;
}

/// Records the name of every feature it is told about, and the thread.
class RecordingObserver : public TKN::OrvAPI::IFeatureObserver
{
public:
    void NotifyFeatureChange(const TKN::OrvAPI::FeaturePtr &feature) override
    {
        std::string featureName;
        feature->GetName(featureName);
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Names << q(featureName);
        m_Threads.push_back(std::this_thread::get_id());
    }

    QStringList names() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Names;
    }

    std::vector<std::thread::id> threads() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Threads;
    }

    void clear()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Names.clear();
        m_Threads.clear();
    }

private:
    mutable std::mutex m_Mutex;
    QStringList m_Names;
    std::vector<std::thread::id> m_Threads;
};

/// An observer that holds its delivery until released, to catch the library
/// in the middle of one.
class BlockingObserver : public TKN::OrvAPI::IFeatureObserver
{
public:
    void NotifyFeatureChange(const TKN::OrvAPI::FeaturePtr &) override
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Entered = true;
        m_Changed.notify_all();
        m_Changed.wait(lock, [this] { return m_Released; });
        ++m_Deliveries;
        m_Running = false;
    }

    void waitUntilEntered()
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [this] { return m_Entered; });
        m_Running = true;
    }

    void release()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Released = true;
        m_Changed.notify_all();
    }

    /// True between waitUntilEntered() and the end of that delivery.
    bool running() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Running;
    }

    int deliveries() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Deliveries;
    }

private:
    mutable std::mutex m_Mutex;
    std::condition_variable m_Changed;
    bool m_Entered = false;
    bool m_Released = false;
    bool m_Running = false;
    int m_Deliveries = 0;
};

/// Releases a BlockingObserver when a test leaves early, so that a failed check
/// does not leave the notification thread blocked for the tests after it.
class ReleaseOnExit
{
public:
    explicit ReleaseOnExit(BlockingObserver *observer) : m_Observer(observer) {}
    ~ReleaseOnExit() { m_Observer->release(); }

private:
    BlockingObserver *m_Observer;
};

} // namespace OrvapiTest

#endif // ORVAPITEST_H
