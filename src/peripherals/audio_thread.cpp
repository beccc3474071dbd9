// The audio thread, its request queue and start handshake, the posting with retries,
// Notify and Closedown.
//
// Each request carries its own copy of its text: the GUI thread posts several requests in
// a row (AP posts "AS", "SC" and "AP"), and a single shared buffer would hand the thread
// the last text for all of them.
#include "peripherals/audio_thread.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "platform/mci.h"
#include "runtime/process_state.h"

namespace velcrum {

std::atomic<int> g_iAudioMode{A_AVAILABLE};
std::atomic<int> g_iPlayDoneLine{0};
std::atomic<int> g_iPlayErrorLine{0};
std::atomic<uint32_t> g_uPlayDeviceId{0};
bool g_bAudioThreadStarted = false;
bool g_bImmediatePlay = false;

namespace {

using namespace std::chrono_literals;

constexpr size_t kRequestBufferSize = 1024;
// A thread's message queue holds this many requests; a post to a full queue fails.
constexpr size_t kQueueLimit = 256;
constexpr int kPostAttempts = 4;
constexpr auto kPostRetryDelay = 500ms;
// How long a start waits for the new thread, and a kill for the thread to end.
constexpr auto kStartWait = 5s;
constexpr auto kEndWait = 2s;
constexpr const char* kKillText = "KILL Thread";
// What PostThreadMessage's failures leave in GetLastError.
constexpr uint32_t ERROR_INVALID_THREAD_ID = 1444;
constexpr uint32_t ERROR_NOT_ENOUGH_QUOTA = 1816;

struct Request {
  uint32_t code = 0;
  std::string text;
};

struct AudioThread {
  // A thread still running when the last owner lets go (the process ends) runs out alone.
  ~AudioThread() {
    if (thread.joinable()) thread.detach();
  }

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Request> queue;
  bool ended = false;
  std::condition_variable endedSignal;
  std::binary_semaphore running{0};
  uint32_t window = 0;  // the main window: MCI's notifications go there
  std::string recordFile;
  std::thread thread;
};

// The thread the GUI thread talks to (null: none runs).
std::shared_ptr<AudioThread> g_audioThread;

std::mutex g_logMutex;
std::vector<std::string> g_audioLog;

// The system debugger's lines from the audio thread, kept for the GUI thread.
void Log(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  const std::lock_guard lock(g_logMutex);
  g_audioLog.push_back(std::move(text));
}

uint32_t Send(std::string_view command, uint32_t window = 0) {
  return MciSendString(command, nullptr, 0, window);
}

// Stops what plays or records, saves a recording into the record file, and closes.
void SaveAndClose(AudioThread& self) {
  const int mode = g_iAudioMode;
  if (mode != A_AVAILABLE) Send("stop velcrum");
  if (mode == A_RECORDING) Send("save velcrum " + self.recordFile);
  Send("close velcrum");
  g_iAudioMode = A_AVAILABLE;
}

// "%d %d %s": the done line, the error line and the file, which is the rest of the text
// (a name with blanks is quoted for the open, so that it opens as one file).
void Play(AudioThread& self, const std::string& text) {
  if (g_iAudioMode != A_AVAILABLE) SaveAndClose(self);
  int doneLine = 0;
  int errorLine = 0;
  int fileAt = 0;
  if (std::sscanf(text.c_str(), "%d %d %n", &doneLine, &errorLine, &fileAt) < 2) fileAt = 0;
  std::string file = fileAt > 0 ? text.substr(static_cast<size_t>(fileAt)) : std::string();
  while (!file.empty() && file.back() == ' ') file.pop_back();
  if (file.find(' ') != std::string::npos) file = "\"" + file + "\"";
  g_iPlayDoneLine = doneLine;
  g_iPlayErrorLine = errorLine;
  uint32_t error = Send("open " + file + " alias velcrum");
  if (error != 0) {
    Log("AudioThreadProc: AP: Audio Play - open failed\n");
    Log("AudioThreadProc: AP: Audio Play - " + MciGetErrorString(error).substr(0, 255) + "\n");
  } else {
    // The play's own notification may come at once: the state it is answered by is set first.
    g_uPlayDeviceId = MciGetDeviceID("velcrum");
    g_iAudioMode = A_PLAYING;
    error = Send("play velcrum notify", self.window);
  }
  if (error != 0) {
    g_uPlayDeviceId = 0;
    g_iAudioMode = A_FILE_ERROR;
    MciNotify(self.window, static_cast<uint32_t>(errorLine), 0);
  }
}

void Record(AudioThread& self, const std::string& file) {
  self.recordFile = file;
  if (Send("open new type waveaudio alias velcrum buffer 6") == 0 && Send("record velcrum") == 0) {
    g_iAudioMode = A_RECORDING;
  }
}

void Stop(AudioThread& self) {
  switch (g_iAudioMode) {
    case A_PLAYING:
      Send("stop velcrum");
      break;
    case A_RECORDING:
      Send("stop velcrum notify", self.window);
      break;
    default:
      break;
  }
}

// AudioThreadProc: says it runs, then carries out requests until told to end.
void AudioThreadProc(std::shared_ptr<AudioThread> self) {
  self->running.release();
  for (;;) {
    Request request;
    {
      std::unique_lock lock(self->mutex);
      self->wake.wait(lock, [&] { return !self->queue.empty(); });
      request = std::move(self->queue.front());
      self->queue.pop_front();
    }
    if (request.code == AudioRequest("KI") && request.text.starts_with(kKillText)) {
      if (g_iAudioMode != A_AVAILABLE) {
        Send("stop velcrum");
        Send("close velcrum");
        g_iAudioMode = A_AVAILABLE;
      }
      break;
    }
    switch (request.code) {
      case AudioRequest("AP"):
        Play(*self, request.text);
        break;
      case AudioRequest("AR"):
        Record(*self, request.text);
        break;
      case AudioRequest("AS"):
        Stop(*self);
        break;
      case AudioRequest("SC"):
        SaveAndClose(*self);
        break;
      case AudioRequest("AM"):
        Send(request.text, self->window);
        break;
      case AudioRequest("AG"):
      case AudioRequest("KI"):
        break;
      default:
        Log("AudioThreadProc: Unsupported command\n");
        break;
    }
  }
  const std::lock_guard lock(self->mutex);
  self->ended = true;
  self->endedSignal.notify_all();
}

// PostThreadMessage: 0 when queued, else what GetLastError would say.
uint32_t PostThreadMessage(AudioThread* thread, Request request) {
  if (!thread) return ERROR_INVALID_THREAD_ID;
  {
    const std::lock_guard lock(thread->mutex);
    if (thread->ended) return ERROR_INVALID_THREAD_ID;
    if (thread->queue.size() >= kQueueLimit) return ERROR_NOT_ENOUGH_QUOTA;
    thread->queue.push_back(std::move(request));
  }
  thread->wake.notify_one();
  return 0;
}

// Waits a while for a thread told to end, then lets it go: joined when it has ended,
// left to finish on its own when it has not.
void Retire(std::shared_ptr<AudioThread> thread) {
  bool ended = false;
  {
    std::unique_lock lock(thread->mutex);
    ended = thread->endedSignal.wait_for(lock, kEndWait, [&] { return thread->ended; });
  }
  if (!thread->thread.joinable()) return;
  if (ended) {
    thread->thread.join();
  } else {
    TheHost().SystemDebuggerOut("AudioThreadKill: the audio thread did not end in time");
    thread->thread.detach();
  }
}

}  // namespace

bool AudioThreadRunning() {
  return g_audioThread != nullptr;
}

bool AudioThreadInitialize() {
  auto thread = std::make_shared<AudioThread>();
  thread->window = g_hwndMain;
  try {
    thread->thread = std::thread(AudioThreadProc, thread);
  } catch (const std::system_error&) {
    g_bAudioThreadStarted = false;
    return false;
  }
  if (!thread->running.try_acquire_for(kStartWait)) {
    thread->thread.detach();
    g_bAudioThreadStarted = false;
    return false;
  }
  g_audioThread = std::move(thread);
  g_bAudioThreadStarted = true;
  return true;
}

void AudioThreadKill() {
  if (!g_audioThread) return;
  if (PostThreadMessage(g_audioThread.get(), Request{AudioRequest("KI"), kKillText}) != 0) {
    TheHost().SystemDebuggerOut("AudioThreadKill: PostThreadMessage failed");
  }
  Retire(std::move(g_audioThread));
  g_audioThread.reset();
}

bool PostAudioRequest(std::string_view requester, uint32_t request, std::string_view text) {
  const std::string buffer(text.substr(0, kRequestBufferSize - 1));
  for (int attempt = 1; attempt <= kPostAttempts; ++attempt) {
    const uint32_t error = PostThreadMessage(g_audioThread.get(), Request{request, buffer});
    if (error == 0) return true;
    std::this_thread::sleep_for(kPostRetryDelay);
    if (attempt >= 3) {
      TheHost().SystemDebuggerOut(
          Format("%s: PostThreadMessage failed (retry: %d), GetLastError: %d, 0x%X",
                 std::string(requester).c_str(), attempt, error, error));
    }
  }
  return false;
}

void VLMciSup_CloseMCI() {
  if (AudioThreadRunning()) PostAudioRequest("CloseMCI", AudioRequest("SC"), "");
}

void VLMciSup_Notify(uint32_t /*wParam*/, int32_t lParam) {
  FlushAudioLog();
  // A notification of an earlier device (a play stopped to make way for the one now
  // playing) would otherwise end the new play and run its done line at once.
  if (static_cast<uint32_t>(lParam) != g_uPlayDeviceId) return;
  const int mode = g_iAudioMode;
  const int doneLine = g_iPlayDoneLine;
  const int errorLine = g_iPlayErrorLine;
  if (doneLine >= 1 && mode == A_PLAYING) {
    VLMciSup_CloseMCI();
    RunLine(doneLine, 0);
  } else if (errorLine >= 1 && mode == A_FILE_ERROR) {
    VLMciSup_CloseMCI();
    RunLine(errorLine, 0);
  }
}

void VLMciSup_Closedown() {
  TheHost().SystemDebuggerOut(
      Format("<%s> VLMciSup_Closedown: Enter (called by MainCloseDown)", g_instanceName.c_str()));
  if (g_iAudioMode != A_AVAILABLE) {
    Send("stop velcrum");
    Send("close velcrum");
    g_iAudioMode = A_AVAILABLE;
  }
  AudioThreadKill();
  FlushAudioLog();
}

void FlushAudioLog() {
  std::vector<std::string> lines;
  {
    const std::lock_guard lock(g_logMutex);
    lines.swap(g_audioLog);
  }
  for (const std::string& line : lines) TheHost().SystemDebuggerOut(line);
}

void ResetAudioThread() {
  AudioThreadKill();
  Send("close velcrum");
  {
    const std::lock_guard lock(g_logMutex);
    g_audioLog.clear();
  }
  g_iAudioMode = A_AVAILABLE;
  g_iPlayDoneLine = 0;
  g_iPlayErrorLine = 0;
  g_uPlayDeviceId = 0;
  g_bAudioThreadStarted = false;
  g_bImmediatePlay = false;
}

}  // namespace velcrum
