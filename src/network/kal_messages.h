// The window-message numbers of the control system: the KAL_ messages that NXI, the
// infodrivers and other copies of the runtime exchange with the main window, and the
// private numbers the main window answers for itself.
//
// The numbers are fixed by the control system (WM_USER-relative values used as they stand)
// and must not change: peers written elsewhere send and expect exactly these.
#pragma once

#include <cstdint>

namespace velcrum {

// Close request from another copy (wParam: the asking window, 0 = close regardless);
// answered with kClosedownAccepted when this copy closes.
inline constexpr uint32_t KAL_CLOSEDOWN = 2026;
inline constexpr uint32_t kClosedownAccepted = 2027;
// NXI announces its window handle in wParam (answer to the discovery broadcasts).
inline constexpr uint32_t KAL_NXI_HANDLE = 2032;
// Discovery broadcast to NXI in client mode (wParam: main window, lParam 4); framed with the
// value 2 it is the leave-taking at shut-down.
inline constexpr uint32_t KAL_CLIENT_HELLO = 2034;
inline constexpr int32_t kClientHelloDiscover = 4;
inline constexpr int32_t kClientHelloLeave = 2;
// An infodriver announces its window handle in wParam while a connection is made.
inline constexpr uint32_t KAL_DRIVER_HANDLE = 2042;
// Posted by the main window to itself on activation changes (WAKEUP / SLEEP).
inline constexpr uint32_t KAL_ACTIVATEAPP = 2043;
// Meant for the interface library's receive entry, which this system does not bind.
inline constexpr uint32_t KAL_RXMESSAGE = 2074;

// The network messages the main window accepts (queued in synchronous mode).
inline constexpr uint32_t KAL_DEVSTATUSMSG = 2123;      // text
inline constexpr uint32_t KAL_NETTXRXSTATUS = 2163;     // integer
inline constexpr uint32_t KAL_DATABASE_MSG = 2174;      // integer
inline constexpr uint32_t KAL_REQDEVGOTXRX = 2180;      // integer
inline constexpr uint32_t KAL_DEVICEIDINUSE = 2190;     // integer
inline constexpr uint32_t KAL_REVERTIVE_TEXT = 2224;    // text
inline constexpr uint32_t KAL_REVERTIVE_TEXT_2 = 2234;  // text, handled as 2224
inline constexpr uint32_t KAL_REVERTIVE_TEXT_3 = 2244;  // text, handled as 2224
inline constexpr uint32_t KAL_SESSION_RESULT = 2264;    // integer
inline constexpr uint32_t KAL_INFO_REVERTIVE = 2722;    // text
inline constexpr uint32_t KAL_ROUTER_REVERTIVE = 2742;  // integer
inline constexpr uint32_t KAL_GPI_REVERTIVE = 2759;     // integer
inline constexpr uint32_t KAL_PARSER_COMMAND = 2776;    // text

// Requests the runtime sends to NXI (framed; see the command groups for their contents).
inline constexpr uint32_t KAL_WD_WE = 2036;              // numeric, wParam 0 or 1
inline constexpr uint32_t KAL_WT = 2037;                 // numeric
inline constexpr uint32_t KAL_WF = 2038;                 // numeric
inline constexpr uint32_t KAL_DEVICE_INFO = 2041;        // text, reply: information text
inline constexpr uint32_t KAL_DEVSTATUS_REQUEST = 2121;  // text, reply copied back (ES)
inline constexpr uint32_t KAL_ROUTER_CMD = 2124;         // text, wParam device (bit 15 flag)
inline constexpr uint32_t KAL_GPI_CMD = 2134;            // text, wParam device (bit 15 flag)
inline constexpr uint32_t KAL_INFO_CMD = 2144;           // text, wParam device (bit 15 flag)
inline constexpr uint32_t KAL_DB_CMD = 2149;             // text, wParam 0
inline constexpr uint32_t KAL_DB_UPDATE = 2159;          // text, wParam 0
inline constexpr uint32_t KAL_GET_NAME = 2164;           // block device, database, index
inline constexpr uint32_t KAL_NAME_TO_INDEX = 2165;      // text name, wParam device
inline constexpr uint32_t KAL_NAME_TO_INDEX_DB = 2166;   // block device, database, 1, 0, name
inline constexpr uint32_t KAL_DB_GET = 2169;             // text "DG d i", reply: the name
inline constexpr uint32_t KAL_DB_INDEX = 2170;           // text "DI ...", reply value
inline constexpr uint32_t KAL_DATABASE_QUERY = 2178;     // numeric 0, wParam notification
inline constexpr uint32_t KAL_SEND_TEXT = 2191;          // text (SM)
inline constexpr uint32_t KAL_DC_CMD = 2194;             // text
inline constexpr uint32_t KAL_DD_CMD = 2195;             // numeric 0
inline constexpr uint32_t KAL_DW_CMD = 2196;             // byte block
inline constexpr uint32_t KAL_DR_CMD = 2197;             // text
inline constexpr uint32_t KAL_REGISTER_REV = 2274;       // block device, first, last
inline constexpr uint32_t KAL_UNREGISTER_DEV = 2275;     // numeric device (0: all)
inline constexpr uint32_t KAL_UNREGISTER_RANGE = 2276;   // block device, first, last
inline constexpr uint32_t KAL_QF = 49237;                // numeric, wParam 0

// Between a panel and a driver it is connected to (direct connection).
inline constexpr uint32_t KAL_DRIVER_WRITE = 2731;        // text, wParam slot index
inline constexpr uint32_t KAL_IDGETTXRXMODE = 2732;       // plain; answer 1 or 2
inline constexpr uint32_t KAL_DRIVER_XPOINT = 2745;       // numeric, wParam destination
inline constexpr uint32_t KAL_DRIVER_IOLINE = 2763;       // numeric, wParam I/O line
inline constexpr uint32_t KAL_DRIVER_CMD = 2777;          // text, wParam 0
inline constexpr uint32_t KAL_DRIVER_READ = 2778;         // text, reply: the slot's text
inline constexpr uint32_t KAL_DRIVER_CONNECT = 49164;     // broadcast plain, then framed
inline constexpr uint32_t KAL_DRIVER_DISCONNECT = 49165;  // plain, lParam device

// The answer frame of every framed call (tunnel only).
inline constexpr uint32_t KAL_REPLY = 2984;
// Posted by start-up to the main window: run the start-up section from the message loop.
inline constexpr uint32_t KAL_VELCRUM_STARTUP = 3175;

// Discovery broadcast that any NXI answers, client mode or not.
inline constexpr uint32_t KAL_NXI_FIND = 49153;
// Subscription to network status messages (wParam: low 16 bits of the main window).
inline constexpr uint32_t KAL_NETMSG_REGISTER = 49225;
inline constexpr uint32_t KAL_NETMSG_UNREGISTER = 49226;
// Whether a subscription is possible: the runtime subscribes only when NXI answers 0.
inline constexpr uint32_t KAL_NETMSG_QUERY = 49229;

// The main window's private messages.
// Instance-limit check with threshold wParam, repeated while it closes copies (EK).
inline constexpr uint32_t kMsgCloseSurplusCopies = 2028;
// Run script line wParam.
inline constexpr uint32_t kMsgRunLine = 2029;
// The final shut-down step.
inline constexpr uint32_t kMsgFinalClose = 2084;
// lParam is a text: the new start parameter (S$, S%).
inline constexpr uint32_t kMsgSetParameter = 2085;
// MainCloseDown.
inline constexpr uint32_t kMsgCloseDown = 2175;
// Run the CLOSEDOWN section (line 31000).
inline constexpr uint32_t kMsgRunCloseDown = 2176;
// "Are you a copy of this program?", answered with kProbeAnswer by every copy.
inline constexpr uint32_t kMsgProbe = 3174;
inline constexpr uint32_t kProbeAnswer = 0xF1D3B597;
// Drain the queues now: posted when a network message is queued while a line runs, so that
// it runs as soon as the line is done rather than at the next drain timer.
inline constexpr uint32_t kMsgDrainQueues = 3176;
// The message window's "Ok" (wParam 1: the suspended line resumes) or its close box
// (wParam 0).
inline constexpr uint32_t kMsgMessageWindowDone = 3177;
// A key event from the keyboard hook.
inline constexpr uint32_t kMsgKeyEvent = 4025;

}  // namespace velcrum
