/* calc: an example of a Velcrum extension library, in plain C.
 *
 * Scripts call its functions with EX:
 *
 *   EX 1 'calc' 'Add' N% R$ '2' '3'        N% = 5 and R$ = "5": the sum of the arguments
 *   EX 0 'calc' 'Upper' N% R$ 'a' 'b' 'c'  R$ = "A B C" and N% = 5, the text's length
 *
 * Copied beside a panel under the panel's name (Desk.EXE: Desk.dll) it is the panel's own
 * extension library, and its VelcrumCall takes two lines over:
 *
 *   line 20000  counts its runs in Z%, writes "calc was here" into Z$, and has the
 *               runtime run "NA Z% 100 Y%", which sees the new Z%: Y% = Z% + 100;
 *   line 20001  puts the number of open panels into P%.
 *
 * The texts of those lines never run; every other line runs as usual. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <velcrum/velcrum_extension.h>

/* The index of a variable's letter: A to Z are 0 to 25, a to z 26 to 51. */
#define VARIABLE(letter) ((letter) - 'A')

/* Modes 1 and 2: the sum of the arguments, also written into the result text. Sums wrap
 * around as 32-bit integers do. */
VELCRUM_EXTENSION_API int32_t Add(char** arguments, int32_t count) {
  uint32_t sum = 0;
  int32_t i;
  for (i = 1; i <= count; ++i) sum += (uint32_t)strtol(arguments[i], NULL, 10);
  snprintf(arguments[0], VELCRUM_STRING_SIZE, "%ld", (long)(int32_t)sum);
  return (int32_t)sum;
}

/* Mode 0: the text in capitals, in place; the result is its length. */
VELCRUM_EXTENSION_API int32_t Upper(char* text, int32_t length) {
  int32_t i;
  for (i = 0; i < length; ++i) {
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = (char)(text[i] - 'a' + 'A');
  }
  return length;
}

VELCRUM_EXTENSION_API int32_t VelcrumCall(int32_t line, VelcrumString* strings, int32_t* integers,
                                          VelcrumWindowHandle* panelWindows,
                                          VelcrumCommandCallback runCommand) {
  int32_t panel;
  switch (line) {
    case 20000:
      integers[VARIABLE('Z')] += 1;
      strncpy(strings[VARIABLE('Z')], "calc was here", VELCRUM_STRING_SIZE - 1);
      runCommand("NA Z% 100 Y%");
      return 1;
    case 20001:
      integers[VARIABLE('P')] = 0;
      for (panel = 1; panel < VELCRUM_PANEL_WINDOW_COUNT; ++panel) {
        if (panelWindows[panel] != 0) integers[VARIABLE('P')] += 1;
      }
      return 1;
    default:
      return 0;
  }
}
