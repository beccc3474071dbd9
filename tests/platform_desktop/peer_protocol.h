// The messages the tests exchange with desktop_peer, the helper process they start.
#pragma once

#include <cstdint>

#include "platform/desktop/message.h"

namespace velcrum::platform::testing {

// Understood by the peer's window.
inline constexpr uint32_t kPeerQuit = WM_USER + 1;          // ends the peer's loop
inline constexpr uint32_t kPeerSetTitle = WM_USER + 2;      // text: the new title
inline constexpr uint32_t kPeerEcho = WM_USER + 3;          // answers wParam + lParam
inline constexpr uint32_t kPeerCallBack = WM_USER + 4;      // sends kTestPong(own, lParam) to
                                                            // wParam; answers its answer + 1
inline constexpr uint32_t kPeerDie = WM_USER + 5;           // the process ends at once
inline constexpr uint32_t kPeerAnnounce = WM_USER + 6;      // sends kTestAnswer(own, lParam)
                                                            // to wParam; answers 0
inline constexpr uint32_t kPeerPostThenSend = WM_USER + 7;  // posts kTestPosted to wParam,
                                                            // then sends it kTestPong
inline constexpr uint32_t kPeerPostBurst = WM_USER + 8;     // posts kTestSequence 0..lParam-1
                                                            // to wParam
inline constexpr uint32_t kPeerSendTo = WM_USER + 9;        // sends message lParam to wParam;
                                                            // answers its answer, or -1
inline constexpr uint32_t kPeerBusy = WM_USER + 10;         // posts kTestAnswer to wParam (if
                                                            // any), then stays in its procedure
                                                            // for lParam ms, dispatching
                                                            // nothing; answers lParam
inline constexpr uint32_t kPeerUseUpDescriptors = WM_USER + 11;  // lowers its descriptor limit
                                                                 // and opens descriptors until
                                                                 // none is left; answers how many
inline constexpr uint32_t kPeerFreeDescriptors = WM_USER + 12;   // closes them again
// WM_COPYDATA: the peer answers like a framed-call receiver: it sends a copy-data frame
// back to the sender (wParam) with dwData kReplyDwData and the same bytes, then answers 1.
inline constexpr uint32_t kReplyDwData = 2984u << 16;

// Sent or posted by the peer to the test's windows.
inline constexpr uint32_t kTestPong = WM_USER + 100;
inline constexpr uint32_t kTestAnswer = WM_USER + 101;
inline constexpr uint32_t kTestPosted = WM_USER + 102;
inline constexpr uint32_t kTestSequence = WM_USER + 103;

}  // namespace velcrum::platform::testing
