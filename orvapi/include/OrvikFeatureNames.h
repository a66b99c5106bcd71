// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// OrvikFeatureNames: the standard (GenICam SFNC) feature and entry names
// that the camera library's simulated cameras, the viewer and the Trigger IO
// page use, in one place so that a typo cannot split one feature into two.
// Plain C++17, no Qt.
#ifndef ORVIKFEATURENAMES_H
#define ORVIKFEATURENAMES_H

namespace TKN {
namespace OrvAPI {

namespace FeatureNames {

// Trigger input
constexpr char TriggerSelector[] = "TriggerSelector";
constexpr char TriggerMode[] = "TriggerMode";
constexpr char TriggerSource[] = "TriggerSource";
constexpr char TriggerActivation[] = "TriggerActivation";
constexpr char TriggerSoftware[] = "TriggerSoftware";
constexpr char AcquisitionMode[] = "AcquisitionMode";
constexpr char AcquisitionFrameCount[] = "AcquisitionFrameCount";
constexpr char AcquisitionStart[] = "AcquisitionStart";
constexpr char AcquisitionStop[] = "AcquisitionStop";
constexpr char ExposureMode[] = "ExposureMode";
constexpr char ExposureAuto[] = "ExposureAuto";
constexpr char LineRouting[] = "LineRouting";
constexpr char ExposureTime[] = "ExposureTime";
constexpr char ExposureTimeAbs[] = "ExposureTimeAbs";
constexpr char AcquisitionFrameRate[] = "AcquisitionFrameRate";

// Lines, line-selector generation
constexpr char LineSelector[] = "LineSelector";
constexpr char LineMode[] = "LineMode";
constexpr char LineSource[] = "LineSource";
constexpr char LineInverter[] = "LineInverter";
constexpr char LineStatus[] = "LineStatus";
constexpr char UserOutputSelector[] = "UserOutputSelector";
constexpr char UserOutputValue[] = "UserOutputValue";
// The observed name for user output selection; cameras call it UserOutputSelector.
constexpr char UserOutSelector[] = "UserOutSelector";

// Lines, output-selector generation
constexpr char LineOutSelector[] = "LineOutSelector";
constexpr char LineOutSource[] = "LineOutSource";
constexpr char LineOutPolarity[] = "LineOutPolarity";
constexpr char LineOutLevels[] = "LineOutLevels";
constexpr char SyncOutSelector[] = "SyncOutSelector";
constexpr char SyncOutSource[] = "SyncOutSource";
constexpr char SyncOutPolarity[] = "SyncOutPolarity";
constexpr char SyncOutLevels[] = "SyncOutLevels";

} // namespace FeatureNames

namespace FeatureEntries {

constexpr char On[] = "On";
constexpr char Off[] = "Off";
constexpr char Input[] = "Input";
constexpr char Output[] = "Output";
constexpr char Direct[] = "Direct";
constexpr char GPO[] = "GPO";
constexpr char Invert[] = "Invert";
constexpr char Normal[] = "Normal";
constexpr char Trigger[] = "Trigger";
constexpr char Software[] = "Software";
constexpr char SoftwareSignal[] = "SoftwareSignal";
constexpr char UserOutput[] = "UserOutput";
constexpr char InputLines[] = "InputLines";
constexpr char Timed[] = "Timed";
constexpr char TriggerWidth[] = "TriggerWidth";
constexpr char Other[] = "other";

// Trigger selector entries and the output sources the cameras drive.
constexpr char FrameStart[] = "FrameStart";
constexpr char ExposureStart[] = "ExposureStart";
constexpr char ExposureActive[] = "ExposureActive";
constexpr char Exposing[] = "Exposing";
constexpr char AcquisitionActive[] = "AcquisitionActive";
constexpr char AcquisitionTriggerWait[] = "AcquisitionTriggerWait";

} // namespace FeatureEntries

} // namespace OrvAPI
} // namespace TKN

#endif // ORVIKFEATURENAMES_H
