#pragma once
// Drives Quavera.exe from outside, as a user would: starts it, finds its
// windows, clicks, reads texts and answers its message boxes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quavera::test {

// Control ids of the main dialog that the tests use.
enum PlayerControl : int {
    kExit = 8,
    kPosition = 1000,
    kStop = 1002,
    kPlay = 1003,
    kPause = 1004,
    kOpen = 1007,
    kVolume = 1008,
    kElapsedMode = 1010,
    kRemainingMode = 1011,
    kTrackTime = 1017,
    kTrackName = 1018,
    kPlaybackParameters = 1019,
    kSourceParameters = 1020,
    kTimeLabel = 1021,
    kLengthLabel = 1045,
    kStartLabel = 1046,
    kEndless = 1060,
    kRandom = 1061,
};

constexpr const char* kConfigurationKey = "Software\\Brixlane\\Quavera\\Playback\\Configuration";
constexpr const char* kPlaybackKey = "Software\\Brixlane\\Quavera\\Playback";

// Windows path of a generated test stream.
std::string StreamPath(const char* name);
// The player's settings removed, as on a machine where it never ran.
void ResetPlayerSettings();
void SetRegInt(const char* key, const char* name, DWORD value);
void SetRegString(const char* key, const char* name, const std::string& text);
bool GetRegInt(const char* key, const char* name, DWORD* value);
bool GetRegString(const char* key, const char* name, std::string* text);

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
// Posted, so that a message box opened by the command cannot block the test.
void PostCommand(HWND dialog, int id, WORD code = BN_CLICKED);
// A real click: the button takes the focus first.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// A trackbar's position and range maximum, in its units.
unsigned SliderPosition(HWND dialog, int id);
unsigned SliderMaximum(HWND dialog, int id);
// As the mouse does it: press on the thumb, move to the value, release.
bool DragSliderThumb(HWND dialog, int id, unsigned value);
// A click on the slider's channel at the value (a page step towards it).
bool ClickSliderChannel(HWND dialog, int id, unsigned value);
// Seconds shown by a track time text (" 1:05min ", "-0:30min "), or -1.
int TimeTextSeconds(const std::string& text);
// Texts of the dialog's static controls, in z-order.
std::vector<std::string> StaticTexts(HWND dialog);
// Saves the window as it appears on the screen to <screenshot dir>/<name>.bmp.
void SaveScreenshot(HWND window, const char* name);

class PlayerProcess {
public:
    explicit PlayerProcess(const std::string& arguments);
    // Closes the player through its Exit button, or kills it.
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    // The visible main dialog, or null after the timeout.
    HWND WaitForMainWindow(int timeoutMs = 10000);
    // A visible message box of this process with the caption, or null.
    HWND WaitForBox(const char* caption, int timeoutMs = 10000);
    // Reads the box's text and presses the button (IDOK, IDYES, IDNO).
    std::string Answer(HWND box, int button);
    bool WaitForExit(int timeoutMs = 10000);
    // True when a visible window of this process was seen while waiting for exit.
    bool showedWindowBeforeExit() const { return showedWindow_; }
    bool Close();

private:
    HWND FindWindowOf(const std::function<bool(HWND)>& match) const;

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    bool showedWindow_ = false;
};

} // namespace quavera::test
