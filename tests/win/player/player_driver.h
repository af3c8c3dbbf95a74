#pragma once
// Drives Quavera.exe from outside, as a user would: starts it, finds its
// windows, clicks, reads texts and answers its message boxes.
#include <gtest/gtest.h>

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
    kPropertiesButton = 1012,
    kTrackTime = 1017,
    kTrackName = 1018,
    kPlaybackParameters = 1019,
    kSourceParameters = 1020,
    kTimeLabel = 1021,
    kLengthLabel = 1045,
    kStartLabel = 1046,
    kPlaylist = 1055,
    kEndless = 1060,
    kRandom = 1061,
    kPrevious = 1001,
    kNext = 1006,
    kTrackNumber = 1062,
    kTrackCount = 1063,
    kTracksToGo = 1064,
    kTrackList = 1065,
    kTotalTime = 1071,
    kTotalPosition = 1072,
    kTotalModeLabel = 1074,
    kTotalElapsedMode = 1076,
    kTotalRemainingMode = 1077,
    kUrl = 1103,
    // The "&Hide\tAlt+H" command of the menu and the keyboard.
    kHide = 32777,
};

// Tests that start and end with the player's settings reset
// (ResetPlayerSettings).
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Player tests that listen to the session's capturing wave-out device.
class CaptureTest : public PlayerTest {
protected:
    void SetUp() override;
};

constexpr const char* kConfigurationKey = "Software\\Brixlane\\Quavera\\Playback\\Configuration";
constexpr const char* kPlaybackKey = "Software\\Brixlane\\Quavera\\Playback";
constexpr const char* kProgramVersion = "1.00";
// The text of a message box.
constexpr int kMessageBoxText = 0xFFFF;
// The Apply button of a property sheet.
constexpr int kApplyNow = 0x3021;

// Windows path of a generated test stream.
std::string StreamPath(const char* name);
// The capture file of the session's wave-out device, as a Windows path;
// empty outside a test session.
std::string CapturePath();
// The first samples of the capture (16 bit), and whether they hold sound.
std::vector<short> CapturedSamples(std::size_t most = 1 << 16);
bool CaptureHasSound();
// Quavera.exe as the tests start it.
std::string PlayerPath();
// The player's settings removed, as on a machine where this version ran
// before and so starts without its first-run settings, and with the check
// of the shell's file associations switched off, so that the player leaves
// the test prefix's file classes alone.
void ResetPlayerSettings();
// The player's settings removed, as on a machine where it never ran.
void RemovePlayerSettings();
void SetRegInt(const char* key, const char* name, DWORD value);
void SetRegString(const char* key, const char* name, const std::string& text);
bool GetRegInt(const char* key, const char* name, DWORD* value);
// An integer setting of the player, or missing when it has none.
DWORD StoredSetting(const char* name, DWORD missing = 0xDEADBEEF);
bool GetRegString(const char* key, const char* name, std::string* text);

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
std::string WindowText(HWND window);
// The name of the window's class.
std::string ClassOf(HWND window);
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
// A double click of the left button on the control's middle, as the dialog
// gets it through a control that lets the mouse pass.
void DoubleClick(HWND dialog, int id);
// A double click of the left button at a point of the dialog's client area.
void DoubleClickAt(HWND dialog, POINT point);
// A button drawn pushed in.
bool IsPushed(HWND dialog, int id);
// The items of a drop-down list and the index of the selected one (-1: none).
std::vector<std::string> ListItems(HWND dialog, int id);
int ListSelection(HWND dialog, int id);
// As the keyboard does it: the control takes the focus, then gets the keys.
void PressKeys(HWND dialog, int id, const std::vector<UINT>& keys);
// Real keys, as the keyboard sends them to the window brought to the
// foreground: the keys pressed in order (a chord such as Alt and T), then
// released.
bool PressChord(HWND window, std::initializer_list<WORD> keys);
// Real mouse input: the left button pressed at one point of the screen, the
// mouse moved to the other in steps, and released there.
bool DragMouse(HWND window, POINT from, POINT to);
// A list's item chosen with the keyboard: Home, then Down to the index.
void ChooseListItem(HWND dialog, int id, int index);
// Typed into an edit that takes the focus with its text selected: the text
// replaces it (an empty text deletes it).
void TypeText(HWND dialog, int id, const std::string& text);
// The page a property sheet shows, and another page shown as a click on its tab does.
HWND CurrentPage(HWND sheet);
HWND ShowPage(HWND sheet, int index);
// The lines of a list box, one line, their count, and the selected line (-1
// for none).
std::vector<std::string> ListBoxLines(HWND dialog, int id);
std::string ListBoxLine(HWND dialog, int id, int line);
int ListBoxCount(HWND dialog, int id);
int ListBoxSelection(HWND dialog, int id);
// As the mouse does it on line i of a list box: a double click, or the right
// button, which opens the list's menu there.
void DoubleClickListLine(HWND dialog, int id, int line);
// The middle of the left part of line i of a list box, on the screen.
POINT ListLineOnScreen(HWND dialog, int id, int line);
void RightClickListLine(HWND dialog, int id, int line);
// The dialog's windows as shown: the track section's controls are visible.
bool IsShown(HWND dialog, int id);
// The temporary folder, which the tests share with the player, ending in "\".
std::string TempFolder();
// A file written as given into the temporary folder; returns its name.
std::string WriteTempFile(const std::string& name, const std::string& content);
std::string FileContent(const std::string& name);
// Texts of the dialog's static controls, in z-order.
std::vector<std::string> StaticTexts(HWND dialog);
// Saves the window as it appears on the screen to <screenshot dir>/<name>.bmp.
void SaveScreenshot(HWND window, const char* name);

class PlayerProcess {
public:
    explicit PlayerProcess(const std::string& arguments);
    // A player that something else started, such as the shell.
    explicit PlayerProcess(HANDLE process);
    // Closes the player through its Exit button, or kills it.
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    // The visible main dialog, or null after the timeout.
    HWND WaitForMainWindow(int timeoutMs = 10000);
    // The main dialog once its caption reads so, or null after the timeout.
    HWND WaitForCaption(const std::string& caption, int timeoutMs = 5000);
    // A visible message box of this process with the caption, or null.
    HWND WaitForBox(const char* caption, int timeoutMs = 10000);
    // A visible dialog window of this process that matches, or null.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, int timeoutMs = 10000);
    // Reads the box's text and presses the button (IDOK, IDYES, IDNO).
    std::string Answer(HWND box, int button);
    // Drops the files on the window as the shell does: a WM_DROPFILES whose
    // file list lies in the player's own memory.
    bool DropFiles(HWND window, const std::vector<std::string>& files);
    // The popup menu the player shows, or null after the timeout.
    HWND WaitForMenu(int timeoutMs = 5000);
    // Picks the first item of the popup menu the player shows.
    bool ChooseFirstMenuItem(int timeoutMs = 5000) { return ChooseMenuItem(1, timeoutMs); }
    // Moves down to the item at the position (1 for the first; separators
    // are passed over) of the popup menu the player shows and picks it; true
    // when the menu closed.
    bool ChooseMenuItem(int position, int timeoutMs = 5000);
    // Closes a popup menu still open with Escape.
    void CloseMenu();
    bool WaitForExit(int timeoutMs = 10000);
    // True when a visible window of this process was seen while waiting for exit.
    bool showedWindowBeforeExit() const { return showedWindow_; }
    bool Close();

private:
    HWND FindWindowOf(const std::function<bool(HWND)>& match, const char* windowClass = "#32770") const;

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    bool showedWindow_ = false;
};

} // namespace quavera::test
