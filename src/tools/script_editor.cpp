// Placeholder until the editor is built: it never opens.
#include "tools/script_editor.h"

namespace velcrum {

void OpenScriptEditor() {}
void CloseScriptEditor() {}
bool ScriptEditorOpen() {
  return false;
}
void SetEditorStatus(std::string_view /*text*/) {}

}  // namespace velcrum
