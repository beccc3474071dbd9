// The message numbers of the control system: the KAL_ messages exchanged with NXI, the
// infodrivers and other copies of the program, and the private numbers the main window
// answers. They are fixed by the control system and used as they stand.
#pragma once

#include <cstdint>

namespace velcrum {

inline constexpr uint32_t KAL_CLOSEDOWN = 2026;
inline constexpr uint32_t KAL_NXI_HANDLE = 2032;
inline constexpr uint32_t KAL_CLIENT_HELLO = 2034;
inline constexpr uint32_t KAL_DRIVER_HANDLE = 2042;
inline constexpr uint32_t KAL_ACTIVATEAPP = 2043;
inline constexpr uint32_t KAL_RXMESSAGE = 2074;
inline constexpr uint32_t KAL_DEVSTATUSMSG = 2123;
inline constexpr uint32_t KAL_NETTXRXSTATUS = 2163;
inline constexpr uint32_t KAL_DATABASE_MSG = 2174;
inline constexpr uint32_t KAL_REQDEVGOTXRX = 2180;
inline constexpr uint32_t KAL_DEVICEIDINUSE = 2190;
// KAL_REVERTIVE_TEXT arrives under three numbers, handled alike.
inline constexpr uint32_t KAL_REVERTIVE_TEXT = 2224;
inline constexpr uint32_t KAL_REVERTIVE_TEXT_2 = 2234;
inline constexpr uint32_t KAL_REVERTIVE_TEXT_3 = 2244;
inline constexpr uint32_t KAL_SESSION_RESULT = 2264;
inline constexpr uint32_t KAL_INFO_REVERTIVE = 2722;
inline constexpr uint32_t KAL_ROUTER_REVERTIVE = 2742;
inline constexpr uint32_t KAL_GPI_REVERTIVE = 2759;
inline constexpr uint32_t KAL_PARSER_COMMAND = 2776;
inline constexpr uint32_t KAL_REPLY = 2984;
inline constexpr uint32_t KAL_VELCRUM_STARTUP = 3175;
inline constexpr uint32_t KAL_NXI_FIND = 49153;
inline constexpr uint32_t KAL_NETMSG_REGISTER = 49225;
inline constexpr uint32_t KAL_NETMSG_UNREGISTER = 49226;
inline constexpr uint32_t KAL_NETMSG_QUERY = 49229;

// The main window's private messages.
inline constexpr uint32_t kMsgCloseSurplusCopies = 2028;  // wParam: the load threshold
inline constexpr uint32_t kMsgRunLine = 2029;             // wParam: the line
inline constexpr uint32_t kMsgFinalClose = 2084;
inline constexpr uint32_t kMsgSetParameter = 2085;  // the text: the new S$
inline constexpr uint32_t kMsgCloseDown = 2175;
inline constexpr uint32_t kMsgRunCloseDownSection = 2176;
inline constexpr uint32_t kMsgProbe = 3174;
inline constexpr uint32_t kMsgKeyEvent = 4025;

// What every copy of the program answers to kMsgProbe, and what a copy that closes on
// KAL_CLOSEDOWN answers.
inline constexpr uint32_t kProbeAnswer = 0xF1D3B597;
inline constexpr int32_t kCloseDownAccepted = 2027;

}  // namespace velcrum
