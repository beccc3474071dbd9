// VelcrumEdit: a window of controls over the script store. The line list shows every
// stored line as its script-file record; the record field takes one record, which Submit
// stores, Execute runs, and auto mode stores every 200 ms; the file buttons load, append
// and save ".ast" files.
//
// The record check accepts line numbers 1 to 32767, the lines the list shows: the
// network status line 32400 among them (docs/TOOLS.md says why).
#include "tools/script_editor.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "platform/desktop/file_dialog.h"
#include "platform/desktop/message_box.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/window_styles.h"
#include "runtime/menu_items.h"
#include "runtime/subsystem_settings.h"
#include "tools/editor_record.h"

namespace velcrum {
namespace {

using namespace platform;  // the WS_ style bits

constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr uint32_t LBS_NOTIFY = 0x0001;

constexpr int kRecordField = 602;
constexpr int kLineList = 604;
constexpr int kStatusLine = 606;
enum Button : int {
  kExit = 700,
  kErase,
  kLoad,
  kAppend,
  kSave,
  kSaveAs,
  kStart,
  kExecute,
  kAuto,
  kSubmit,
};
constexpr const char* kButtonCaptions[] = {"Exit",    "Erase", "Load",    "Append",   "Save",
                                           "Save As", "Start", "Execute", "Auto Off", "Submit"};
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 20;
constexpr int kButtonSpacing = 62;

constexpr uint32_t kAutoTimer = 18;
constexpr uint32_t kAutoPeriodMs = 200;
constexpr int kFirstStartupLine = 30000;
constexpr int kLastListedLine = 32767;

constexpr char kEraseQuestion[] =
    "Please confirm you wish to erase all stringtable entries from memory? Bound stringtable "
    "code and AST file will not be affected.";
const std::vector<std::string> kFileFilters = {"Velcrum Stringtable files (*.ast)",
                                               "All Files (*.*)"};

std::unique_ptr<Dialog> g_editor;
bool g_bAutoMode = false;

DialogTemplate EditorTemplate() {
  DialogTemplate window;
  window.className = "VelcrumEdit";
  window.caption = "Velcrum Editor";
  window.style =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  // Sizes in dialog units are only a start: the window is placed in pixels once it exists.
  window.cx = 400;
  window.cy = 300;
  ControlTemplate field;
  field.className = "EDIT";
  field.id = kRecordField;
  field.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  ControlTemplate list;
  list.className = "LISTBOX";
  list.id = kLineList;
  list.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;
  window.controls = {field, list};
  for (int n = 0; n < 10; ++n) {
    ControlTemplate button;
    button.className = "BUTTON";
    button.text = kButtonCaptions[n];
    button.id = kExit + n;
    button.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    window.controls.push_back(button);
  }
  ControlTemplate status;
  status.className = "STATIC";
  status.text = "Ready";
  status.id = kStatusLine;
  status.style = WS_CHILD | WS_VISIBLE;
  window.controls.push_back(status);
  return window;
}

// The buttons in a row along the top; the record field, the list and the status line
// below them, as wide as the window allows.
void LayOut(Dialog& editor, int width, int height) {
  for (int n = 0; n < 10; ++n) {
    editor.MoveControl(kExit + n, 5 + n * kButtonSpacing, 2);
    editor.ResizeControl(kExit + n, kButtonWidth, kButtonHeight);
  }
  editor.MoveControl(kRecordField, 5, 25);
  editor.ResizeControl(kRecordField, std::max(0, width - 5), 20);
  editor.MoveControl(kLineList, 5, 50);
  editor.ResizeControl(kLineList, std::max(0, width - 15), std::max(0, height - 96));
  editor.MoveControl(kStatusLine, 5, height - 45);
  editor.ResizeControl(kStatusLine, std::max(0, width - 15), 20);
}

void FillLineList() {
  std::vector<std::string> records;
  char text[kLineBufferSize];
  for (int line = 1; line <= kLastListedLine; ++line) {
    if (!VLSTMSup_Exists(line)) continue;
    VLSTMSup_GetMem(line, text);
    records.push_back(EditorRecord(line, text));
  }
  g_editor->ReplaceItems(kLineList, records);
}

// The record in the field, checked; when it passes, the status line says "Ready" again and
// the line chosen in the list is replaced by it.
std::optional<CheckedRecord> TakeRecord() {
  const std::string record = g_editor->ControlText(kRecordField, kMaxRecordLength);
  const RecordCheck checked = CheckEditorRecord(record, kLastListedLine);
  if (!checked.error.empty()) {
    SetEditorStatus(checked.error);
    return std::nullopt;
  }
  SetEditorStatus("Ready");
  const int selected = g_editor->CurrentSelection(kLineList);
  if (selected >= 0) {
    g_editor->DeleteItem(kLineList, selected);
    g_editor->InsertItem(kLineList, selected, record);
    g_editor->SetCurrentSelection(kLineList, selected);
  }
  return checked.record;
}

void Submit() {
  if (const std::optional<CheckedRecord> record = TakeRecord()) {
    VLSTMSup_SetMem(record->line, record->text);
  }
}

void Execute() {
  if (const std::optional<CheckedRecord> record = TakeRecord()) RunLine(record->line, 0);
}

void ToggleAutoMode() {
  g_bAutoMode = !g_bAutoMode;
  if (g_bAutoMode) {
    g_editor->SetTimer(kAutoTimer, kAutoPeriodMs);
    g_editor->SetControlText(kAuto, "Auto On");
    DebugOut("Auto mode ON.");
  } else {
    g_editor->KillTimer(kAutoTimer);
    g_editor->SetControlText(kAuto, "Auto Off");
    DebugOut("Auto mode OFF.");
  }
}

// True when the operator confirmed and the store was emptied.
bool Erase() {
  const BoxAnswer answer = MessageBox(g_editor->Handle(), "! Warning !", kEraseQuestion,
                                      {BoxButtons::kYesNo, BoxIcon::kExclamation, false});
  if (!g_editor || answer != BoxAnswer::kYes) return false;
  VLSTMSup_FreeAll();
  g_editor->ResetItems(kLineList);
  g_editor->SetControlText(kRecordField, " ");
  SetEditorStatus("Ready");
  return true;
}

std::optional<std::string> ChooseScriptFile(FileDialogRequest::Purpose purpose, const char* title) {
  FileDialogRequest request;
  request.purpose = purpose;
  request.title = title;
  request.filters = kFileFilters;
  request.defaultSuffix = "ast";
  request.owner = g_editor->Handle();
  return ChooseFile(request);
}

void Append() {
  const std::optional<std::string> path =
      ChooseScriptFile(FileDialogRequest::Purpose::kOpen, "Append Stringtable File");
  if (!path || !g_editor) return;
  if (VLSTMSup_LoadFile(*path) == 0) {
    SetEditorStatus(Format("Error - %s cannot be read", path->c_str()));
    return;
  }
  FillLineList();
}

void SaveTo(const std::string& path) {
  SetEditorStatus(VLSTMSup_SaveFile(path) != 0
                      ? Format("Saved %s", path.c_str())
                      : Format("Error - %s cannot be written", path.c_str()));
}

void SaveAs() {
  const std::optional<std::string> path =
      ChooseScriptFile(FileDialogRequest::Purpose::kSave, "Save Stringtable File");
  if (!path || !g_editor) return;
  SaveTo(*path);
  FillLineList();
}

// The list scrolled so that the first line of the start-up section is at the top.
void ShowStartupSection() {
  const int count = g_editor->ItemCount(kLineList);
  for (int index = 0; index < count; ++index) {
    if (RecordLineNumber(g_editor->ItemText(kLineList, index)) >= kFirstStartupLine) {
      g_editor->SetTopIndex(kLineList, index);
      return;
    }
  }
}

void OnCommand(uint32_t wParam) {
  const int id = LowWord(wParam);
  const uint16_t code = HighWord(wParam);
  if (id == kLineList) {
    if (code == LBN_SELCHANGE) {
      const int selected = g_editor->CurrentSelection(kLineList);
      if (selected >= 0) {
        g_editor->SetControlText(kRecordField, g_editor->ItemText(kLineList, selected));
      }
    }
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kExit:
      // The window cannot be destroyed inside its own procedure: the main window closes
      // it, as the module's item.
      TheHost().PostToMainWindow(WM_COMMAND, kEditorExitCommand);
      break;
    case kErase:
      Erase();
      break;
    case kLoad:
      if (Erase()) Append();
      break;
    case kAppend:
      Append();
      break;
    case kSave:
      SaveTo(EditorDefaultFileName(g_instanceName));
      break;
    case kSaveAs:
      SaveAs();
      break;
    case kStart:
      ShowStartupSection();
      break;
    case kExecute:
      Execute();
      break;
    case kAuto:
      ToggleAutoMode();
      break;
    case kSubmit:
      Submit();
      break;
    default:
      break;
  }
}

Result EditorProc(const Message& message) {
  if (!g_editor) return 0;
  switch (message.message) {
    case WM_SIZE:
      LayOut(*g_editor, LowWord(static_cast<uint32_t>(message.lParam)),
             HighWord(static_cast<uint32_t>(message.lParam)));
      return 1;
    case WM_COMMAND:
      OnCommand(message.wParam);
      return 1;
    case WM_TIMER:
      if (message.wParam == kAutoTimer) Submit();
      return 1;
    case WM_CLOSE:
      TheHost().PostToMainWindow(WM_COMMAND, kEditorExitCommand);
      return 1;
    default:
      return 0;
  }
}

}  // namespace

void OpenScriptEditor() {
  if (g_editor) {
    g_editor->BringToTop();
    return;
  }
  DialogCreation created = CreateDialog(EditorTemplate(), 0, EditorProc, {});
  if (!created.dialog) {
    DebugOut("The script editor cannot be created: " + created.detail);
    return;
  }
  g_editor = std::move(created.dialog);
  FillLineList();
  const WindowPlacement& at = g_toolSettings.editorWindow;
  g_editor->Show(ShowCommand::kShow);
  g_editor->Move(at.x, at.y);
  g_editor->Resize(at.width, at.height);
  g_editor->BringToTop();
  TheHost().SetMenuItemChecked(kMenuShowEditor, true);
}

void CloseScriptEditor() {
  if (!g_editor) return;
  if (g_bAutoMode) ToggleAutoMode();
  g_editor.reset();
  TheHost().SetMenuItemChecked(kMenuShowEditor, false);
}

bool ScriptEditorOpen() {
  return g_editor != nullptr;
}

void SetEditorStatus(std::string_view text) {
  if (g_editor) g_editor->SetControlText(kStatusLine, text);
}

}  // namespace velcrum
