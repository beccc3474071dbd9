// The under-monitor display chains: up to four serial chains of displays, the store of
// every display's last message and the rotation that re-sends one display of each chain
// every 500 ms, so that a display that was power-cycled gets its caption back.
//
// All of it runs on the GUI thread. The protocol, the displays per chain, the width and
// the flags are settled from the UMD settings when the displays start.
#pragma once

#include <string_view>

#include "peripherals/umd_messages.h"

namespace velcrum {

inline constexpr int kUmdChains = 4;
inline constexpr int kUmdSlots = 512;
inline constexpr int kUmdSlotSize = 24;
inline constexpr unsigned kUmdRotationPeriodMs = 500;

// Opens the configured chains' ports, presets the store and starts the rotation timer.
// Displays already started are stopped first.
void StartUmds();

// Kills the rotation timer, closes the chains' ports and frees the store.
void StopUmds();

// Stopped, and back to the state before the first start.
void ResetUmds();

// Whether the store exists (the displays are started).
bool UmdsStarted();

// The protocol the started displays speak (TSL before they start).
UmdProtocol CurrentUmdProtocol();

// Writes a caption and tally state to one display: builds the protocol's message, keeps
// it in the display's slot and sends it to the chain's port. Nothing happens before the
// displays start or for a chain or display out of range; `brightness` is TSL's only.
void PutUmd(std::string_view caption, int chain, int display, int cues, int brightness);

// One step of the rotation: the next display of each chain sent again.
void RotateUmds();

}  // namespace velcrum
