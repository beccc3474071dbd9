// Finding NXI at start-up, over the desktop bus, and subscribing to network status.
#pragma once

namespace velcrum {

// True when NXI answered (and is in client mode); false after the warning box.
bool DiscoverNxi();

}  // namespace velcrum
