/* The interface of a custom-control library (VORN_CC.DLL, BWCC32.DLL): the names of the
 * control classes it provides, which the dialog builder registers so that dialog
 * templates naming them can be created.
 *
 * A control-library exports, with C linkage:
 *
 *   const struct VelcrumControlClass* VelcrumControlClasses(void);
 *
 * returning a table that lives as long as the library is loaded and ends with an entry
 * whose name is null. Each entry names a class as templates write it (compared without
 * regard to case, as Windows compares class names) and the standard control class
 * ("BUTTON", "STATIC", "LISTBOX", ...) or broadcast control ("LATCHBUTTON",
 * "TALLYLAMP") whose behaviour it takes: the dialog builder makes such a control, with
 * the style bits the template gives, wherever the template names the custom class. An
 * entry may fix some style bits: those of styleMask are replaced by the entry's style
 * (BorCheck is an auto check box whatever button style its template gives); 0 and 0
 * keep the template's style as it is.
 *
 * BWCC32.DLL also exports BWCCRegister (below), which the runtime calls once at start
 * with its instance handle, as panels built for the Borland controls expect. */
#ifndef VELCRUM_CONTROLS_CONTROL_LIBRARY_H_
#define VELCRUM_CONTROLS_CONTROL_LIBRARY_H_

#include <stdint.h>

#if defined(VELCRUM_BUILDING_CONTROL_LIBRARY)
#define VELCRUM_CONTROL_EXPORT __attribute__((visibility("default")))
#else
#define VELCRUM_CONTROL_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

struct VelcrumControlClass {
  const char* name;          /* the class name templates use; null ends the table */
  const char* standardClass; /* the standard class whose behaviour it takes */
  uint32_t style;            /* style bits the class always has ... */
  uint32_t styleMask;        /* ... in place of these bits of the template's style */
};

#define VELCRUM_CONTROL_CLASSES_SYMBOL "VelcrumControlClasses"
typedef const struct VelcrumControlClass* (*VelcrumControlClassesFunction)(void);
VELCRUM_CONTROL_EXPORT const struct VelcrumControlClass* VelcrumControlClasses(void);

/* BWCC32.DLL only. Registers the Borland-style controls for the given instance; returns
 * non-zero on success. */
#define VELCRUM_BWCC_REGISTER_SYMBOL "BWCCRegister"
typedef int (*BwccRegisterFunction)(uintptr_t instance);
VELCRUM_CONTROL_EXPORT int BWCCRegister(uintptr_t instance);

/* BWCC32.DLL only. The instance BWCCRegister was last called with; 0 before the first
 * call. Lets the runtime (and its tests) see that registration has happened. */
#define VELCRUM_BWCC_REGISTERED_INSTANCE_SYMBOL "BWCCRegisteredInstance"
typedef uintptr_t (*BwccRegisteredInstanceFunction)(void);
VELCRUM_CONTROL_EXPORT uintptr_t BWCCRegisteredInstance(void);

#ifdef __cplusplus
}
#endif

#endif /* VELCRUM_CONTROLS_CONTROL_LIBRARY_H_ */
