/* Velcrum extension libraries: what passes between the Velcrum runtime and a shared
 * library written for a site. Plain C; usable from C++ as it is.
 *
 * There are two ways in.
 *
 * 1. The panel's own extension library, beside the panel's program file and named like it
 *    with ".dll" in place of its extension (Desk 4.EXE: Desk 4.dll). It exports
 *
 *      VELCRUM_EXTENSION_API int32_t VelcrumCall(int32_t line, VelcrumString* strings,
 *                                                int32_t* integers,
 *                                                VelcrumWindowHandle* panelWindows,
 *                                                VelcrumCommandCallback runCommand);
 *
 *    The runtime calls it before every script line it is about to run: `line` is the line
 *    number; `strings` the 52 string variables A$ to Z$ then a$ to z$, each a
 *    zero-terminated text of at most 255 characters in a field of VELCRUM_STRING_SIZE
 *    bytes; `integers` the 52 integer variables A% to Z% then a% to z%; `panelWindows`
 *    the VELCRUM_PANEL_WINDOW_COUNT window handles of the panels (entry n is panel n's
 *    window, 0 while panel n is not open; entry 0 is unused). The library may read and
 *    write the variables in place. `runCommand` runs one command text ("NA A% 1 A%") at
 *    once, as a script line would run it, and always returns 1; the command runs at
 *    line 0. Returning non-zero tells the runtime that the library has dealt with the line
 *    and that the runtime must not run it; 0 lets the runtime run it as usual.
 *
 * 2. Functions that a script calls with the EX command, in any library:
 *
 *      EX mode 'library' 'function' N% R$ 'argument 1' ... 'argument 5'
 *
 *    In mode 0 the function has the form VelcrumExTextFunction: `text` is a buffer of
 *    VELCRUM_EX_TEXT_SIZE bytes holding arguments 1, 2 and 3 joined by single blanks
 *    (an argument that is not written reads as "0"), `length` the length of that text.
 *    The function may replace the text (zero-terminated, within the buffer); its first
 *    255 characters become R$.
 *
 *    In modes 1 and 2 the function has the form VelcrumExArgumentsFunction: `arguments`
 *    holds VELCRUM_EX_ARGUMENT_SLOTS pointers, first R$'s own field (VELCRUM_STRING_SIZE
 *    bytes; the function writes its text result there), then the five argument texts
 *    (zero-terminated, at most 512 characters each, empty when not written); `count` is
 *    the number of arguments the script wrote (0 to 5).
 *
 *    In every mode the function's return value becomes N%.
 *
 * Every function is called on the runtime's GUI thread, inside the script line that
 * reaches it; a fault inside a library is not caught. Export the entry points with
 * VELCRUM_EXTENSION_API so that they have C linkage and stay visible in a library built
 * with hidden symbols (-fvisibility=hidden). On 32-bit x86 the functions use the cdecl
 * calling convention, the compilers' default there; other machines have only one. */
#ifndef VELCRUM_VELCRUM_EXTENSION_H_
#define VELCRUM_VELCRUM_EXTENSION_H_

#include <stdint.h>

#define VELCRUM_VARIABLE_COUNT 52
#define VELCRUM_STRING_SIZE 256
#define VELCRUM_PANEL_WINDOW_COUNT 65
#define VELCRUM_EX_TEXT_SIZE 1028
#define VELCRUM_EX_ARGUMENT_SLOTS 6

/* The name the runtime looks VelcrumCall up by. */
#define VELCRUM_CALL_SYMBOL "VelcrumCall"

#if defined(__GNUC__)
#define VELCRUM_EXPORT __attribute__((visibility("default")))
#else
#define VELCRUM_EXPORT
#endif

#ifdef __cplusplus
#define VELCRUM_EXTENSION_API extern "C" VELCRUM_EXPORT
extern "C" {
#else
#define VELCRUM_EXTENSION_API VELCRUM_EXPORT
#endif

/* A panel's window handle as the runtime's desktop numbers its windows. */
typedef uint32_t VelcrumWindowHandle;

/* One string variable's field. */
typedef char VelcrumString[VELCRUM_STRING_SIZE];

typedef int32_t (*VelcrumCommandCallback)(const char* command);

typedef int32_t (*VelcrumCallFunction)(int32_t line, VelcrumString* strings, int32_t* integers,
                                       VelcrumWindowHandle* panelWindows,
                                       VelcrumCommandCallback runCommand);

typedef int32_t (*VelcrumExTextFunction)(char* text, int32_t length);

typedef int32_t (*VelcrumExArgumentsFunction)(char** arguments, int32_t count);

#ifdef __cplusplus
}
#endif

/* The panel's extension library's entry point; declared here so that a library's own
 * definition is checked against it. */
VELCRUM_EXTENSION_API int32_t VelcrumCall(int32_t line, VelcrumString* strings, int32_t* integers,
                                          VelcrumWindowHandle* panelWindows,
                                          VelcrumCommandCallback runCommand);

#endif /* VELCRUM_VELCRUM_EXTENSION_H_ */
