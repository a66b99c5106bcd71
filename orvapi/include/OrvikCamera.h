// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// OrvikCamera: cameras behind the camera library, whoever provides them.
//
// A CameraSystem lists and opens cameras by id: "sim:exposure-mode" or
// "sim:/path/camera.json" for the simulated cameras, "aravis:<device id>"
// for GenICam cameras through Aravis (when the library was built with it).
// An open Camera hands out its features (OrvikCPP.h) and runs acquisition.
// Plain C++17, no Qt.
#ifndef ORVIKCAMERA_H
#define ORVIKCAMERA_H

#include "OrvikCPP.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace TKN {
namespace OrvAPI {

/// A feature's value as text, in one read: integers in decimal, floats with
/// `precision` significant digits as printf's %g writes them (whatever the C
/// locale), entries and strings as they are, booleans "true" or "false".
/// Commands and raw features have no value text: OrvErrWrongType, no read.
ORVIKCPP_API OrvErrorType ReadValueText(const Feature &feature, OrvFeatureDataType type, std::string &text,
                                        int precision = 6);

/// One camera a provider offers, before it is opened.
struct ORVIKCPP_API CameraInfo
{
    std::string id;    ///< what CameraSystem::OpenCamera takes, "provider:local id"
    std::string model; ///< model name, as far as known without opening
    std::string vendor;
    std::string detail; ///< where it is: a file, an address, a transport
};

/// A tree of feature names: GenICam categories, or the groups of a description.
struct ORVIKCPP_API FeatureGroup
{
    std::string name; ///< empty for the root
    std::string displayName;
    std::vector<std::string> features;
    std::vector<FeatureGroup> groups;
};

/// One thing that happened on a camera's trigger and I/O signals, in the
/// order the camera saw it.
struct ORVIKCPP_API SignalEvent
{
    enum Kind {
        LineLevel,        ///< source: the line; level: its level from now on
        TriggerAccepted,  ///< source: the trigger selector entry (FrameStart, ...)
        TriggerMissed,    ///< source: the trigger selector entry; detail: why it was not taken
        ExposureStart,    ///< frame: the frame being exposed
        ExposureEnd,      ///< frame; detail "aborted" when acquisition stopped during it
        FrameDelivered,   ///< frame: its number; timestamp: the camera's own, in ns
        AcquisitionActive ///< level: frames can be taken (not waiting for a start trigger)
    };

    unsigned long long sequence = 0; ///< 1, 2, 3 ... as the camera numbered them
    long long time = 0;              ///< microseconds on the camera's signal clock
    Kind kind = LineLevel;
    std::string source;
    bool level = false;
    unsigned long long frame = 0;
    unsigned long long timestamp = 0;
    std::string detail;
};

/// What a camera's signal events cover.
struct ORVIKCPP_API SignalInfo
{
    /// False: the camera reports no signal events at all.
    bool available = false;
    std::vector<std::string> inputLines;
    std::vector<std::string> outputLines;
    /// Lines whose direction is not known; their levels still come.
    std::vector<std::string> otherLines;
    /// Trigger selector entries whose triggers are reported.
    std::vector<std::string> triggers;
    /// Exposure start and end are reported.
    bool exposures = false;
    /// Above zero: line levels are read this often (microseconds) rather
    /// than seen as they change, so shorter pulses can pass unseen.
    long long levelPollInterval = 0;
    /// How the levels are read ("LineStatus", "LineStatusAll"); empty when seen as they change.
    std::string levelSource;
};

/// The newest frame a camera delivered, for showing it.
struct ORVIKCPP_API FrameImage
{
    unsigned long long frame = 0;     ///< 0: no frame yet
    long long time = 0;               ///< when it was delivered, on the signal clock
    unsigned long long timestamp = 0; ///< the camera's own timestamp, ns
    std::string pixelFormat;          ///< PFNC name: Mono8, Mono16, RGB8, BayerRG8, ...
    int width = 0;
    int height = 0;
    std::vector<unsigned char> data; ///< rows without padding; 16-bit pixels little-endian
};

/// A camera that cannot be opened. source names the file or device, line the
/// line of a description file (0 when none); what() reads "source:line: message".
class ORVIKCPP_API OpenError : public std::runtime_error
{
public:
    OpenError(const std::string &source, int line, const std::string &message);
    const std::string &source() const { return m_Source; }
    int line() const { return m_Line; }
    const std::string &message() const { return m_Message; }

private:
    std::string m_Source;
    int m_Line;
    std::string m_Message;
};

/// An open camera. Its features stay usable while a client holds them; once
/// the camera is closed (Close or destruction) they answer OrvErrNotAvailable.
class ORVIKCPP_API Camera
{
public:
    virtual ~Camera();

    virtual std::string GetId() const = 0;
    virtual std::string GetModelName() const = 0;
    /// The provider's name: "sim", "aravis".
    virtual std::string GetProviderName() const = 0;
    virtual const std::vector<FeaturePtr> &GetFeatures() const = 0;
    /// The feature of that name; empty when the camera has none.
    FeaturePtr GetFeature(const std::string &name) const;
    /// The features as the camera groups them; by default all in the root.
    virtual FeatureGroup GetFeatureGroups() const;
    /// A sentence about the feature for a tooltip; empty when there is none.
    virtual std::string GetFeatureDescription(const std::string &name) const;

    virtual OrvErrorType StartAcquisition() = 0;
    virtual OrvErrorType StopAcquisition() = 0;
    virtual bool IsAcquiring() const = 0;
    /// True when GetFrameCount counts delivered frames.
    virtual bool CountsFrames() const;
    /// Frames delivered since the camera was opened.
    virtual unsigned long long GetFrameCount() const;
    /// Triggers the camera could not take (busy, not armed); 0 when it
    /// does not say (see GetSignalInfo().triggers).
    virtual unsigned long long GetMissedTriggerCount() const;

    /// What GetSignalEvents reports for this camera; by default nothing.
    virtual SignalInfo GetSignalInfo() const;
    /// Appends the events numbered after `afterSequence` (0: every one still
    /// held), oldest first, at most maxEvents of them. Returns how many of
    /// those were dropped from the camera's buffer before being read.
    virtual unsigned long long GetSignalEvents(unsigned long long afterSequence, std::vector<SignalEvent> &events,
                                               std::size_t maxEvents = 65536);
    /// Now, on the clock of the signal events.
    virtual long long GetSignalTime() const;
    /// The newest delivered frame; false when there is none (or no images).
    virtual bool GetLatestFrame(FrameImage &image);

    /// Stops acquisition and lets the camera go; the features answer
    /// OrvErrNotAvailable from then on. Closing twice does nothing.
    virtual void Close() = 0;

protected:
    Camera() = default;

private:
    Camera(const Camera &) = delete;
    Camera &operator=(const Camera &) = delete;
};

typedef std::shared_ptr<Camera> CameraPtr;

/// The providers of one process, configured with the folder of the camera
/// descriptions (simulated cameras as *.json, GenICam descriptions for
/// Aravis's fake camera under genicam/).
class ORVIKCPP_API CameraSystem
{
public:
    explicit CameraSystem(const std::string &cameraFolder);
    ~CameraSystem();

    /// "sim", and "aravis" when the library was built with Aravis.
    std::vector<std::string> GetProviderNames() const;
    /// The cameras known without asking the network: the simulated cameras
    /// of the folder and Aravis's in-process fake camera.
    std::vector<CameraInfo> ListCameras() const;
    /// Asks every provider to look for cameras. Aravis broadcasts a discovery
    /// on every local network: call this only when a person asked for it.
    std::vector<CameraInfo> FindCameras();
    /// Opens a camera by id. An id without a provider prefix is a simulated
    /// camera's name or file. Throws OpenError.
    CameraPtr OpenCamera(const std::string &id);

private:
    CameraSystem(const CameraSystem &) = delete;
    CameraSystem &operator=(const CameraSystem &) = delete;
    struct Private;
    std::unique_ptr<Private> m_Private;
};

} // namespace OrvAPI
} // namespace TKN

#endif // ORVIKCAMERA_H
