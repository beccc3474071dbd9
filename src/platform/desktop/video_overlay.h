// The MCI device type "overlay": live video from a capture device in a window laid over a
// panel's control, with Qt Multimedia's camera support (V4L2 devices on Linux).
//
// "open overlay parent H style child" makes the overlay window a child of the control
// whose handle H is (hidden until "window overlay state show"); without "style child" it
// is a window of its own. Its handle is what "status overlay window handle" answers, in
// decimal. The commands it carries out (docs/VIDEO.md):
//   setvideo overlay brightness|contrast|color|tint to N   0..255, 128 neutral
//   setvideo overlay source to N      the capture device, counted from 0
//   set overlay channel to N          the input of the device, shown in the test pattern
//   freeze overlay / unfreeze overlay the picture stops / goes live again
//   load overlay FILE [at X Y W H] [type N]  shows a still picture (frozen)
//   save overlay FILE [at X Y W H] [type N]  writes the picture (that part of it)
//   window overlay state show|hide    put overlay window|destination at X Y W H
//   status overlay window handle
// Without a capture device for the source, the window shows colour bars with the source
// and channel numbers (overlay_test_pattern.h).
#pragma once

namespace velcrum::platform {

// Registers the type with the MCI interface; the desktop does it when it opens.
void RegisterVideoOverlayDevice();

}  // namespace velcrum::platform
