/* A panel's extension library for the end-to-end tests: it takes the start-up line over
 * and, in its place, has the runtime run "EQ 100" (close through the shut-down); every
 * other line runs as usual. */
#include <velcrum/velcrum_extension.h>

VELCRUM_EXTENSION_API int32_t VelcrumCall(int32_t line, VelcrumString* strings, int32_t* integers,
                                          VelcrumWindowHandle* panelWindows,
                                          VelcrumCommandCallback runCommand) {
  (void)strings;
  (void)integers;
  (void)panelWindows;
  if (line != 30000) return 0;
  runCommand("EQ 100");
  return 1;
}
