// VelcrumEdit: the editor of the stored script lines, inside the runtime.
#pragma once

#include <string_view>

namespace velcrum {

// Opens the editor (menu item 501), or brings it forward when it is open.
void OpenScriptEditor();
// Button "Exit": stops auto mode, destroys the window, unchecks item 501.
void CloseScriptEditor();
bool ScriptEditorOpen();
// The status line under the line list.
void SetEditorStatus(std::string_view text);

}  // namespace velcrum
