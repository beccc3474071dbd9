// The direct connections of this panel to device drivers, from the panel's side: ending
// a connection, ending all of them at shut-down, and the client commands for a device
// that this panel serves (KAL_PARSER_COMMAND), which run the device's parser line or go
// on to the device's driver.
#pragma once

namespace velcrum {

// Tells the device's driver that the connection ends (KAL_DRIVER_DISCONNECT, wParam = the
// driver's window, lParam = the device) and clears the device's connected-driver record.
// Devices outside 1 to 999 have no record: nothing happens.
void VLDxSup_Disconnect(int device);

// Disconnects every device whose record has a window (shut-down).
void DisconnectAllDrivers();

// A client's command text for a device (KAL_PARSER_COMMAND): at most 480 characters are
// kept as the client command values that XD reads. RC, GS and IW texts run the device's
// parser line when it has one and the index lies within the device's lowest and highest
// index; those and other texts beginning with R, G or I otherwise go to the device's
// driver as KAL_DRIVER_CMD. Other texts are ignored. A null text is ignored.
void VLDxSup_OnParserCommand(const char* text);

}  // namespace velcrum
