// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// OrvSim::Camera and the small public types of the simulator.
#include "OrvikSim.h"

#include "cameramodel.h"
#include "notificationdispatcher.h"
#include "testpattern.h"
#include "timingmodel.h"
#include "valuetext.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>

using namespace TKN::OrvAPI;

namespace OrvSim {

const char *dataTypeName(OrvFeatureDataType type)
{
    switch (type) {
    case OrvFeatureDataInt: return "Integer";
    case OrvFeatureDataFloat: return "Float";
    case OrvFeatureDataEnum: return "Enumeration";
    case OrvFeatureDataString: return "String";
    case OrvFeatureDataBool: return "Boolean";
    case OrvFeatureDataCommand: return "Command";
    case OrvFeatureDataRaw: return "Raw";
    default: return "Unknown";
    }
}

const char *operationName(Operation operation)
{
    switch (operation) {
    case Operation::GetName: return "GetName";
    case Operation::GetDisplayName: return "GetDisplayName";
    case Operation::GetDataType: return "GetDataType";
    case Operation::GetValue: return "GetValue";
    case Operation::SetValue: return "SetValue";
    case Operation::GetRange: return "GetRange";
    case Operation::GetIncrement: return "GetIncrement";
    case Operation::GetValues: return "GetValues";
    case Operation::IsValueAvailable: return "IsValueAvailable";
    case Operation::IsWritable: return "IsWritable";
    case Operation::RunCommand: return "RunCommand";
    case Operation::RegisterObserver: return "RegisterObserver";
    case Operation::UnregisterObserver: return "UnregisterObserver";
    }
    return "?";
}

std::string JournalEntry::text() const
{
    std::string result = std::string(operationName(operation)) + " " + feature;
    if (!value.empty() || operation == Operation::SetValue)
        result += "=" + value;
    if (this->result != OrvErrSuccess)
        result += " -> " + std::to_string(this->result);
    return result;
}

namespace {

/// Closes the descriptor when reading ends, however it ends.
struct FileDescriptor
{
    explicit FileDescriptor(int descriptor)
        : fd(descriptor)
    {
    }
    ~FileDescriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    const int fd;
};

} // namespace

std::string tooLongText(unsigned long long bytes)
{
    return "the description has " + std::to_string(bytes) + " bytes, more than the limit of "
           + std::to_string(Camera::MaxDescriptionBytes);
}

LoadError::LoadError(const std::string &file, int line, const std::string &message)
    : TKN::OrvAPI::OpenError(file, line, message)
{
}

std::shared_ptr<Camera> Camera::fromFile(const std::string &path)
{
    // Non-blocking, so that a FIFO given as the file cannot hang the caller;
    // it makes no difference to reading a regular file.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.fd < 0)
        throw LoadError(path, 0, "cannot open the file: " + std::string(std::strerror(errno)));
    struct stat info
    {
    };
    if (fstat(file.fd, &info) != 0)
        throw LoadError(path, 0, "cannot open the file: " + std::string(std::strerror(errno)));
    if (S_ISDIR(info.st_mode))
        throw LoadError(path, 0, "is a folder, not a camera description file");
    if (!S_ISREG(info.st_mode))
        throw LoadError(path, 0, "is not a regular file");
    if (static_cast<unsigned long long>(info.st_size) > MaxDescriptionBytes)
        throw LoadError(path, 0, tooLongText(static_cast<unsigned long long>(info.st_size)));

    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(file.fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw LoadError(path, 0, "cannot read the file: " + std::string(std::strerror(errno)));
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        // The file may grow while it is read.
        if (text.size() > MaxDescriptionBytes)
            throw LoadError(path, 0, tooLongText(text.size()));
    }
    return fromJson(text, path);
}

std::shared_ptr<Camera> Camera::fromJson(const std::string &text, const std::string &sourceName)
{
    // The dispatcher must outlive every camera, also one held in a static.
    NotificationDispatcher::instance();
    return std::shared_ptr<Camera>(new Camera(loadCameraModel(text, sourceName)));
}

void Camera::waitForNotifications()
{
    NotificationDispatcher::instance().waitUntilIdle();
}

Camera::Camera(std::shared_ptr<CameraModel> model)
    : m_Model(std::move(model))
{
    auto timing = std::make_shared<TimingModel>(m_Model);
    m_Model->setListener(timing);
    m_Timing.reset(new Timing(timing));
}

Camera::~Camera() = default;

std::string Camera::name() const
{
    return m_Model->m_Name;
}

std::string Camera::description() const
{
    return m_Model->m_Description;
}

namespace {

// "DigitalIOControl" reads "Digital IO Control".
std::string spacedCategory(const std::string &name)
{
    std::string spaced;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto upper = [&name](std::size_t at) {
            return at < name.size() && std::isupper(static_cast<unsigned char>(name[at]));
        };
        const auto lower = [&name](std::size_t at) {
            return at < name.size() && std::islower(static_cast<unsigned char>(name[at]));
        };
        if (i > 0 && upper(i) && (lower(i - 1) || (upper(i - 1) && lower(i + 1))))
            spaced += ' ';
        spaced += name[i];
    }
    return spaced;
}

} // namespace

FeatureGroup Camera::featureGroups() const
{
    FeatureGroup root;
    for (const FeatureDefinition &definition : m_Model->m_Definitions) {
        if (definition.category.empty()) {
            root.features.push_back(definition.name);
            continue;
        }
        auto group = std::find_if(root.groups.begin(), root.groups.end(),
                                  [&definition](const FeatureGroup &g) { return g.name == definition.category; });
        if (group == root.groups.end()) {
            root.groups.push_back(FeatureGroup{definition.category, spacedCategory(definition.category), {}, {}});
            group = root.groups.end() - 1;
        }
        group->features.push_back(definition.name);
    }
    return root;
}

const std::vector<FeaturePtr> &Camera::features() const
{
    return m_Model->m_Features;
}

FeaturePtr Camera::feature(const std::string &name) const
{
    const int index = m_Model->indexOf(name);
    return index < 0 ? FeaturePtr() : m_Model->m_Features[index];
}

OrvErrorType Camera::setFromCamera(const std::string &feature, const std::string &value,
                                   const std::string &selectorEntry)
{
    return m_Model->setFromCamera(feature, value, selectorEntry);
}

std::string Camera::valueOf(const std::string &feature, const std::string &selectorEntry) const
{
    return m_Model->valueOf(feature, selectorEntry);
}

void Camera::injectFailure(const std::string &feature, Operation operation, OrvErrorType code, int count)
{
    m_Model->injectFailure(feature, operation, code, count);
}

void Camera::clearFailures()
{
    m_Model->clearFailures();
}

std::vector<JournalEntry> Camera::journal() const
{
    return m_Model->journal();
}

std::vector<std::string> Camera::writes() const
{
    return m_Model->writes();
}

void Camera::clearJournal()
{
    m_Model->clearJournal();
}

void Camera::setJournaling(bool enabled)
{
    m_Model->setJournaling(enabled);
}

void Camera::setLink(const LinkSettings &settings)
{
    m_Model->setLink(settings);
}

LinkSettings Camera::link() const
{
    return m_Model->link();
}

unsigned long long Camera::wireAccesses() const
{
    return m_Model->wireAccesses();
}

void Camera::resetWireAccesses()
{
    m_Model->resetWireAccesses();
}

bool Camera::isAcquiring() const
{
    return m_Model->isAcquiring();
}

long long Camera::commandCount(const std::string &name) const
{
    return m_Model->commandCount(name);
}

Timing &Camera::timing() const
{
    return *m_Timing;
}

bool Camera::latestFrame(FrameImage &image) const
{
    const TimingModel::FrameRecord record = m_Timing->m_Model->latestFrame();
    if (record.frame == 0)
        return false;
    long long width = 640, height = 480;
    parseInteger(m_Model->valueOf("Width", std::string()), width);
    parseInteger(m_Model->valueOf("Height", std::string()), height);
    // Beyond any sensor: a description with absurd sizes gets no image rather than an exhausted memory.
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return false;
    image.frame = record.frame;
    image.time = record.delivered;
    image.timestamp = static_cast<unsigned long long>(record.exposureStart) * 1000;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixelFormat = m_Model->valueOf("PixelFormat", std::string());
    if (image.pixelFormat.empty())
        image.pixelFormat = "Mono8";
    TestPattern::render(image);
    return true;
}

Timing::Timing(std::shared_ptr<TimingModel> model)
    : m_Model(std::move(model))
{
}

Timing::~Timing()
{
    // Before the model can go: its real-time thread must not outlive the camera.
    m_Model->shutdown();
}

void Timing::useSteppedClock()
{
    m_Model->useSteppedClock();
}

OrvErrorType Timing::advance(long long microseconds)
{
    return m_Model->advance(microseconds);
}

long long Timing::now() const
{
    return m_Model->now();
}

std::vector<std::string> Timing::inputLines() const
{
    return m_Model->inputLines();
}

bool Timing::lineLevel(const std::string &line) const
{
    return m_Model->lineLevel(line);
}

OrvErrorType Timing::setLine(const std::string &line, bool high)
{
    return m_Model->setLine(line, high);
}

OrvErrorType Timing::pulse(const std::string &line, long long width)
{
    return m_Model->pulseTrain(line, 0, width, 1);
}

OrvErrorType Timing::pulseTrain(const std::string &line, long long period, long long width, long long count)
{
    return m_Model->pulseTrain(line, period, width, count);
}

unsigned long long Timing::framesDelivered() const
{
    return m_Model->framesDelivered();
}

unsigned long long Timing::missedTriggers() const
{
    return m_Model->missedTriggers();
}

std::vector<SignalEvent> Timing::events(unsigned long long afterSequence) const
{
    std::vector<SignalEvent> result;
    m_Model->events().read(afterSequence, result, std::numeric_limits<std::size_t>::max());
    return result;
}

unsigned long long Timing::readEvents(unsigned long long afterSequence, std::vector<SignalEvent> &events,
                                      std::size_t maxEvents) const
{
    return m_Model->events().read(afterSequence, events, maxEvents);
}

SignalInfo Timing::signalInfo() const
{
    return m_Model->signalInfo();
}

} // namespace OrvSim
