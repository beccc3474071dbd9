// The audio thread: the one thread that makes the MCI wave-audio calls, the two-letter
// requests the GUI thread posts to it, and the audio state the two threads share.
//
// The GUI thread runs the audio commands, Notify and Closedown; the audio thread only
// works through its requests and reaches the GUI thread by posting MM_MCINOTIFY to the
// main window. It never calls into the interpreter: what it logs is kept until the GUI
// thread passes it to the system debugger (FlushAudioLog).
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace velcrum {

// The audio mode.
inline constexpr int A_AVAILABLE = 0;
inline constexpr int A_PLAYING = 1;
inline constexpr int A_RECORDING = 2;
inline constexpr int A_FILE_ERROR = 3;

// Shared by the two threads. The lines are the last play request's; the device is the MCI
// device of the play Notify answers for (0 after a failed play).
extern std::atomic<int> g_iAudioMode;
extern std::atomic<int> g_iPlayDoneLine;
extern std::atomic<int> g_iPlayErrorLine;
extern std::atomic<uint32_t> g_uPlayDeviceId;

// GUI thread only: 1 after a successful start of the thread, 0 after a failed one; the
// immediate-play flag of AP.
extern bool g_bAudioThreadStarted;
extern bool g_bImmediatePlay;

// The request codes: first letter times 256 plus the second.
constexpr uint32_t AudioRequest(const char (&code)[3]) {
  return static_cast<uint32_t>(code[0]) * 256 + static_cast<uint32_t>(code[1]);
}

bool AudioThreadRunning();
// Starts the thread and waits for it to say it runs; false (and the started flag 0)
// when it cannot be started.
bool AudioThreadInitialize();
// Asks the thread to end (KI) and forgets it.
void AudioThreadKill();

// Posts a request with its text (cut to the request buffer's 1023 characters), trying
// four times half a second apart; `requester` names the command in the log.
bool PostAudioRequest(std::string_view requester, uint32_t request, std::string_view text);

// VLMciSup_CloseMCI: posts "SC" when the thread runs.
void VLMciSup_CloseMCI();
// VLMciSup_Notify: the main window's MM_MCINOTIFY; runs the play's done or error line.
void VLMciSup_Notify(uint32_t wParam, int32_t lParam);
// VLMciSup_Closedown: the device stopped and closed at shut-down, and the thread ended.
void VLMciSup_Closedown();

// Passes what the audio thread has logged to the system debugger (GUI thread).
void FlushAudioLog();

// Back to program start: the thread ended, the device closed, the state cleared.
void ResetAudioThread();

}  // namespace velcrum
