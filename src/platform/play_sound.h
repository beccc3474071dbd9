// sndPlaySound with SND_ASYNC and SND_NODEFAULT: the click sounds of the panels.
#pragma once

#include <string_view>

namespace velcrum {

// Starts playing the wave file (a Windows path, mapped as paths.h maps it) and returns at
// once: the file is read and played on a thread of its own. A new sound ends the one
// playing; a file that cannot be read or played sounds nothing (no default sound).
void PlaySoundAsync(std::string_view windowsPath);

}  // namespace velcrum
