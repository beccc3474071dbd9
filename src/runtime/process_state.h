// The process-wide state that several subsystems read: the life-cycle flags, the main and
// NXI window handles, the saved start parameter, the workstation and the two message
// queues.
//
// The shell sets most of it; the network link, the panels and the commands that end or
// rename the program read and write it. It belongs to no subsystem, so that none of them
// has to include the shell. ResetProcessState puts it back as it is before start-up, so
// that every test starts clean.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/cvorn_fifo.h"

namespace velcrum {

// 0 until the start-up section has run; gates WAKEUP, SLEEP and the queue drain.
extern bool bStartUpDone;
// Set by the first MainCloseDown; later calls only write the closing log lines.
extern bool g_bClosingDown;
// Set by EQ 1000: the shut-down skips the CLOSEDOWN section and its grace period.
extern bool g_bQuitImmediately;
// Whether another copy may close this one with KAL_CLOSEDOWN (set when start-up succeeds,
// cleared by EU).
extern bool g_bRemoteCloseAllowed;
// The first WM_ACTIVATEAPP after start is ignored.
extern bool g_bFirstActivation;

// Window handles as the desktop numbers them (0: none).
extern uint32_t g_hwndMain;
extern uint32_t g_hwndNxi;
// The infodriver that last announced itself with KAL_DRIVER_HANDLE.
extern uint32_t g_hwndConnectCandidate;

// The command line, or the text of the last message 2085: WAKEUP copies it back into S$
// (and its number into S%). At most 255 characters.
extern std::string g_szStartParameter;

// How the main window paints its background (0 to 3, set by the background command) and
// the bitmap resource mode 3 draws.
extern int g_iBackgroundMode;
extern std::string g_szBackgroundBitmap;

// "CmdFifo" (control presses) and "RevFifo" (network messages); null outside start-up.
extern std::unique_ptr<Cvorn_fifo> g_pCmdFifo;
extern std::unique_ptr<Cvorn_fifo> g_pRevFifo;

// Everything above and the module path back to their state before start-up (the queues
// destroyed).
void ResetProcessState();

}  // namespace velcrum
