/* A library for the EX tests: functions that show what EX handed them, count their calls
 * (the count starts again whenever the library is loaded afresh) and write past the ends
 * of the fields they are given. */
#include <stdio.h>
#include <string.h>
#include <velcrum/velcrum_extension.h>

static int32_t calls;

/* Modes 1 and 2: the call's number since the library was loaded. */
VELCRUM_EXTENSION_API int32_t Calls(char** arguments, int32_t count) {
  (void)arguments;
  (void)count;
  return ++calls;
}

/* Modes 1 and 2: "count:argument 1,...,argument 5" into the result text, after what the
 * result field held before the call. */
VELCRUM_EXTENSION_API int32_t Describe(char** arguments, int32_t count) {
  char before[VELCRUM_STRING_SIZE];
  strncpy(before, arguments[0], sizeof before - 1);
  before[sizeof before - 1] = '\0';
  /* A longer description is cut to the field. */
  if (snprintf(arguments[0], VELCRUM_STRING_SIZE, "%s%d:%s,%s,%s,%s,%s", before, (int)count,
               arguments[1], arguments[2], arguments[3], arguments[4], arguments[5]) < 0) {
    arguments[0][0] = '\0';
  }
  return count;
}

/* Modes 1 and 2: fills the whole result field, leaving no terminator. */
VELCRUM_EXTENSION_API int32_t FillResult(char** arguments, int32_t count) {
  (void)count;
  memset(arguments[0], 'y', VELCRUM_STRING_SIZE);
  return 1;
}

/* Mode 0: replaces the text with "OK"; the result is the length it was given. */
VELCRUM_EXTENSION_API int32_t Ok(char* text, int32_t length) {
  strcpy(text, "OK");
  return length;
}

/* Mode 0: fills the whole buffer, leaving no terminator. */
VELCRUM_EXTENSION_API int32_t FillText(char* text, int32_t length) {
  memset(text, 'x', VELCRUM_EX_TEXT_SIZE);
  return length;
}
