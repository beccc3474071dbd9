// VelcrumEdit: the editor of the stored script lines, inside the runtime.
#pragma once

#include <cstdint>
#include <string_view>

namespace velcrum {

// What the editor's "Exit" (and its close box) posts to the main window as WM_COMMAND: a
// window cannot be destroyed inside its own procedure, so the module closes it from there.
inline constexpr uint32_t kEditorExitCommand = 700;

// Opens the editor (menu item 501), or brings it forward when it is open.
void OpenScriptEditor();
// Button "Exit": stops auto mode, destroys the window, unchecks item 501.
void CloseScriptEditor();
bool ScriptEditorOpen();
// The status line under the line list.
void SetEditorStatus(std::string_view text);

}  // namespace velcrum
