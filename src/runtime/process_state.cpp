// The process-wide state shared by the subsystems.
#include "runtime/process_state.h"

#include "runtime/module_path.h"

namespace velcrum {

bool bStartUpDone = false;
bool g_bClosingDown = false;
bool g_bQuitImmediately = false;
bool g_bRemoteCloseAllowed = false;
bool g_bFirstActivation = true;

uint32_t g_hwndMain = 0;
uint32_t g_hwndNxi = 0;
uint32_t g_hwndConnectCandidate = 0;

std::string g_szStartParameter;

int g_iBackgroundMode = 0;
std::string g_szBackgroundBitmap;

std::unique_ptr<Cvorn_fifo> g_pCmdFifo;
std::unique_ptr<Cvorn_fifo> g_pRevFifo;

void ResetProcessState() {
  bStartUpDone = false;
  g_bClosingDown = false;
  g_bQuitImmediately = false;
  g_bRemoteCloseAllowed = false;
  g_bFirstActivation = true;
  g_hwndMain = 0;
  g_hwndNxi = 0;
  g_hwndConnectCandidate = 0;
  g_szStartParameter.clear();
  g_iBackgroundMode = 0;
  g_szBackgroundBitmap.clear();
  g_pCmdFifo.reset();
  g_pRevFifo.reset();
  g_modulePath.clear();
}

}  // namespace velcrum
