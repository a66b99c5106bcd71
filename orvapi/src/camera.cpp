// OrvSim::Camera and the small public types of the simulator.
#include "OrvikSim.h"

#include "cameramodel.h"
#include "notificationdispatcher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
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
    struct stat info {};
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

Camera::Camera(std::shared_ptr<CameraModel> model) : m_Model(std::move(model)) {}

Camera::~Camera() = default;

std::string Camera::name() const
{
    return m_Model->m_Name;
}

std::string Camera::description() const
{
    return m_Model->m_Description;
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

} // namespace OrvSim
