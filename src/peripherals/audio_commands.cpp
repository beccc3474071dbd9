// The audio commands on the GUI thread: each reads its parameters, then posts requests to
// the audio thread (audio_thread.h), starting it when it does not run yet.
#include "peripherals/audio_commands.h"

#include <chrono>
#include <string>
#include <thread>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "peripherals/audio_thread.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"
#include "runtime/event_routing.h"

namespace velcrum {
namespace {

using namespace std::chrono_literals;

// The pauses of an immediate play around the restart of the thread.
constexpr auto kRestartPause = 100ms;

// A string parameter, checked and cut to the 255 characters of its field. False when the
// handler must stop (strict inspection).
bool ReadText(const CommandCall& call, int n, std::string& text) {
  CheckStringParam(Mnemonic(call), n, false, false, call.text);
  if (!CheckParamLength(call, n)) return false;
  text = std::string(ParamText(n)).substr(0, kMaxStringLength);
  return true;
}

}  // namespace

int ExecAB(const CommandCall& /*call*/) {
  g_bImmediatePlay = false;
  TheHost().Beep();
  return 0;
}

int ExecAG(const CommandCall& /*call*/) {
  g_bImmediatePlay = false;
  if (!AudioThreadRunning()) {
    AudioThreadInitialize();
    return 0;
  }
  PostAudioRequest("AG", AudioRequest("AG"), "");
  return 0;
}

int ExecAK(const CommandCall& call) {
  GetArguments(call.text, 2);
  g_bImmediatePlay = false;
  std::string which;
  std::string file;
  if (!ReadText(call, 1, which) || !ReadText(call, 2, file)) return 0;
  which = UpperAsciiText(which);
  file = ScriptPathToWindows(file);
  if (which == "DOWN") {
    g_szMouseDownSound = file;
    if (file.empty()) ReportWarning("AK", "DOWN: setting audio down file name to NULL.");
  } else if (which == "UP") {
    g_szCommandSound = file;
    if (file.empty()) ReportWarning("AK", "UP: setting audio down file name to NULL.");
  } else {
    ReportError("AK", "Not UP or DOWN specified.");
  }
  return 0;
}

int ExecAM(const CommandCall& call) {
  GetArguments(call.text, 1);
  g_bImmediatePlay = false;
  std::string command;
  if (!ReadText(call, 1, command)) return 0;
  PostAudioRequest("AM", AudioRequest("AM"), command);
  return 0;
}

int ExecAP(const CommandCall& call) {
  GetArguments(call.text, 4);
  std::string file;
  if (!ReadText(call, 1, file)) return 0;
  CheckNumericParam("AP", 2, false, false, call.text);
  CheckNumericParam("AP", 3, false, false, call.text);
  CheckNumericParam("AP", 4, false, false, call.text);
  file = ScriptPathToWindows(file);
  const int32_t doneLine = ParamValue(2);
  const int32_t errorLine = ParamValue(3);
  const int32_t immediate = ParamValue(4);
  if (immediate == 0 || immediate == 1) {
    g_bImmediatePlay = immediate == 1;
  } else {
    TheHost().SystemDebuggerOut("AP: Immediate Flag Play parameter neither 0 or 1.");
  }
  if (AudioThreadRunning()) {
    if (g_bImmediatePlay) {
      PostAudioRequest("AP", AudioRequest("SC"), "");
      std::this_thread::sleep_for(kRestartPause);
      AudioThreadKill();
      std::this_thread::sleep_for(kRestartPause);
      AudioThreadInitialize();
    }
    PostAudioRequest("AP", AudioRequest("AS"), "");
  } else if (!AudioThreadInitialize()) {
    TheHost().SystemDebuggerOut("AP: AudioThreadInitialize failed");
  }
  if (g_iAudioMode != A_AVAILABLE) VLMciSup_CloseMCI();
  PostAudioRequest("AP", AudioRequest("AP"), Format("%d %d %s", doneLine, errorLine, file.c_str()));
  g_bImmediatePlay = false;
  return 0;
}

int ExecAR(const CommandCall& call) {
  GetArguments(call.text, 1);
  g_bImmediatePlay = false;
  std::string file;
  if (!ReadText(call, 1, file)) return 0;
  if (!AudioThreadRunning()) AudioThreadInitialize();
  VLMciSup_CloseMCI();
  PostAudioRequest("AR", AudioRequest("AR"), ScriptPathToWindows(file));
  return 0;
}

int ExecAS(const CommandCall& /*call*/) {
  g_bImmediatePlay = false;
  if (!AudioThreadRunning()) {
    AudioThreadInitialize();
    return 0;
  }
  PostAudioRequest("AS", AudioRequest("AS"), "");
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"AB", ExecAB}, {"AG", ExecAG}, {"AK", ExecAK}, {"AM", ExecAM},
    {"AP", ExecAP}, {"AR", ExecAR}, {"AS", ExecAS},
};

}  // namespace

const CommandTable kAudioCommands = kRows;

}  // namespace velcrum
