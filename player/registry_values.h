#pragma once
// Where the player keeps its settings: relative paths under
// HKEY_CURRENT_USER\Software\ and the names of the values.
#include <string>

#include "winbasic.h"

namespace quavera::reg {

constexpr const char* kPlaybackKey = "Brixlane\\Quavera\\Playback";
// Shared with the engine, which keeps its playback configuration beside ours.
constexpr const char* kConfigurationKey = "Brixlane\\Quavera\\Playback\\Configuration";

constexpr const char* kVersion = "Version"; // in kPlaybackKey
constexpr const char* kRunningWindow = "RunningWindow";
constexpr const char* kCommandLine = "CommandLine";
constexpr const char* kWindowX = "WindowXPos";
constexpr const char* kWindowY = "WindowYPos";
constexpr const char* kVolume = "Volume";
constexpr const char* kTimeDisplay = "TimeDisplay";
constexpr const char* kTotalTimeDisplay = "TotalTimeDisplay";
constexpr const char* kRandomPlayback = "RandomPlayback";
constexpr const char* kEndlessPlayback = "EndlessPlayback";
constexpr const char* kRecentFile = "RecentFile";
constexpr const char* kRecentPlaylistFile = "RecentPlaylistFile";
constexpr const char* kDialogState = "DialogState";
constexpr const char* kScrollCaption = "ScrollCaption";
constexpr const char* kTaskBar = "TaskBar";
constexpr const char* kDisableContinuous = "DisableContinuous";
constexpr const char* kSkipHttpFileScan = "SkipHTTPFileScan";
constexpr const char* kCheckExtentions = "CheckExtentions";
constexpr const char* kBuffers = "Buffers";
constexpr const char* kFramesPerBuffer = "FramesPerBuffer";
constexpr const char* kPlaybackMethode = "PlaybackMethode";

// Internet streaming.
constexpr const char* kRecentUrl = "RecentURL";
constexpr const char* kPlayAndSave = "PlayAndSave";
constexpr const char* kProxy = "Proxy";
constexpr const char* kProxyPort = "ProxyPort";
constexpr const char* kUser = "User";
constexpr const char* kPassword = "Password";

// ReadRegString needs room for 127 characters and the terminating zero.
constexpr unsigned kStringSize = 128;

// An integer setting of the configuration key, or the fallback when it is missing.
inline int ReadSetting(const char* name, int fallback) {
    int value = fallback;
    ReadRegInt(kConfigurationKey, name, &value);
    return value;
}

// A text setting of the configuration key, or empty when it is missing.
inline std::string ReadStringSetting(const char* name) {
    char text[kStringSize] = {};
    ReadRegString(kConfigurationKey, name, text);
    return text;
}

} // namespace quavera::reg
