// The list commands: filling, searching, filtering, selecting, reading, loading, saving and
// clearing the list boxes and combo boxes of panels. A list box's items also go to its
// backing store (list_backing_stores.h), which keeps the complete list while LF shows a
// part of it; every command that adds or removes items keeps the two together.
#include "panels/list_commands.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/file_reports.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "panels/list_backing_stores.h"
#include "panels/list_control_kind.h"
#include "panels/list_filter.h"
#include "panels/panel_table.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"
#include "platform/printing.h"
#include "runtime/event_routing.h"
#include "runtime/nxi_requests.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {
namespace {

// The longest item a list holds.
constexpr size_t kMaxItemLength = 255;
// The lines LL can address.
constexpr int kMaxFileLine = 4096;
// The most of a reply LR takes as a name, and DL as a device's information.
constexpr size_t kNameReplyBytes = 300;
constexpr size_t kDeviceInfoReplyBytes = 513;

// The list control a command addresses.
struct ListControl {
  int panel = 0;
  platform::Dialog* dialog = nullptr;
  int id = 0;
  bool combo = false;
};

void CheckNumbers(const CommandCall& call, std::initializer_list<int> params) {
  for (int n : params) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

// The common checks of the panel (parameter panelParam) and the control (controlParam):
// a panel outside the table ends the command, a control number out of range ends it under
// strict inspection, a missing panel or control is reported. False when the command must
// not act.
bool AddressList(const CommandCall& call, int panelParam, int controlParam, ListControl& list) {
  if (!PanelNumberInRange(call, panelParam)) return false;
  if (!ControlNumberChecked(call, controlParam)) return false;
  list.panel = ParamValue(panelParam);
  list.id = ParamValue(controlParam);
  list.dialog = ExistingPanel(call, list.panel);
  if (!ExistingControl(call, list.dialog, list.id)) return false;
  list.combo = IsComboBox(*list.dialog, list.id);
  return true;
}

// The backing store that follows a list box's items; none for a combo box, or when the
// panel has no slot left.
ListBackingStore* StoreOf(const ListControl& list) {
  return list.combo ? nullptr : GetListBackingStore(list.panel, *list.dialog, list.id);
}

// Adds an item (cut to the longest an item can be) to the list and to its store.
void AddListItem(const ListControl& list, ListBackingStore* store, std::string_view text) {
  const std::string_view item = text.substr(0, kMaxItemLength);
  list.dialog->AddItem(list.id, item);
  if (store) store->emplace_back(item);
}

std::vector<std::string> ItemsOf(const ListControl& list) {
  std::vector<std::string> items;
  const int count = list.dialog->ItemCount(list.id);
  items.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) items.push_back(list.dialog->ItemText(list.id, i));
  return items;
}

// Removes the first item of the store that begins with the text, without regard to case.
bool EraseFirstBeginningWith(ListBackingStore& store, std::string_view text) {
  for (auto it = store.begin(); it != store.end(); ++it) {
    if (it->size() >= text.size() &&
        EqualNoCase(std::string_view(*it).substr(0, text.size()), text)) {
      store.erase(it);
      return true;
    }
  }
  return false;
}

// A result variable of either kind, written only when the parameter is one.
void SetIntResult(const CommandCall& call, int n, int32_t value) {
  if (IsIntVarParam(Mnemonic(call), n)) ParamIntVar(n) = value;
}
void SetTextResult(const CommandCall& call, int n, std::string_view value) {
  if (IsStringVarParam(Mnemonic(call), n)) SetStringVariable(ParamVarIndex(n), value);
}

int ExecLP(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumbers(call, {2, 3});
  if (!CheckParamLength(call, 1)) return 0;
  ListControl list;
  if (!AddressList(call, 2, 3, list)) return 0;
  AddListItem(list, StoreOf(list), ParamText(1));
  return 0;
}

int ExecLT(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumbers(call, {2, 3, 4});
  if (!CheckParamLength(call, 1)) return 0;
  ListControl list;
  if (!AddressList(call, 2, 3, list)) return 0;
  const std::string trim = Format("trim=%s,%d", ParamText(1), static_cast<int>(ParamValue(4)));
  ListBackingStore* store = StoreOf(list);
  AddListItem(list, store, "/_____1");
  AddListItem(list, store, trim);
  return 0;
}

int ExecLC(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  list.dialog->ResetItems(list.id);
  if (ListBackingStore* store = StoreOf(list)) store->clear();
  return 0;
}

int ExecLD(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  const int selected = list.dialog->CurrentSelection(list.id);
  if (selected < 0) {
    DebugOut(list.combo ? "LD: 2B - LB_ERR on LB_GETCURSEL" : "LD: 1B - LB_ERR on LB_GETCURSEL");
    return 0;
  }
  const std::string item = list.dialog->ItemText(list.id, selected);
  list.dialog->DeleteItem(list.id, selected);
  // The store has no selection of its own: the item goes from it by its text, so that the
  // next reload does not bring back what was deleted.
  if (ListBackingStore* store = StoreOf(list)) {
    const auto found = std::find(store->begin(), store->end(), item);
    if (found != store->end()) store->erase(found);
  }
  return 0;
}

int ExecLE(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumbers(call, {2, 3});
  if (!CheckParamLength(call, 1)) return 0;
  ListControl list;
  if (!AddressList(call, 2, 3, list)) return 0;
  const std::string text = ParamText(1);
  const bool all = ParamValue(4) == 1;
  do {
    const int found = list.dialog->SelectString(list.id, -1, text);
    if (found < 0) break;
    list.dialog->DeleteItem(list.id, found);
  } while (all);
  if (ListBackingStore* store = StoreOf(list)) {
    while (EraseFirstBeginningWith(*store, text) && all) {
    }
  }
  return 0;
}

int ExecLB(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  for (int i = list.dialog->ItemCount(list.id) - 1; i >= 0; --i) {
    if (list.dialog->ItemText(list.id, i).empty()) list.dialog->DeleteItem(list.id, i);
  }
  if (ListBackingStore* store = StoreOf(list)) std::erase(*store, std::string());
  return 0;
}

int ExecLA(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumbers(call, {2, 3, 4});
  if (!CheckParamLength(call, 1)) return 0;
  const int32_t memory = ParamValue(4);
  if (memory < 1 || memory > kIntegerMemoryCount + 1)
    ReportParamRange(Mnemonic(call), 4, call.text);
  ListControl list;
  if (!AddressList(call, 2, 3, list)) return 0;
  const std::string text = ParamText(1);
  const int count = list.dialog->ItemCount(list.id);
  if (count <= 0) return 0;
  int32_t matches = 0;
  for (int i = 0; i < count; ++i) {
    if (list.dialog->ItemText(list.id, i) == text) {
      ++matches;
      SetMem(Mnemonic(call), WrapAdd(memory, matches), i);
    }
  }
  SetMem(Mnemonic(call), memory, matches);
  return 0;
}

int ExecLQ(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  SetIntResult(call, 3, list.dialog->ItemCount(list.id));
  return 0;
}

int ExecLG(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  DebugOut(Format("LG : Panel:%d, ListBoxId:%d", list.panel, list.id));
  SetTextResult(call, 3, "");
  SetIntResult(call, 4, 0);
  const int selected = list.dialog->CurrentSelection(list.id);
  if (selected < 0) return 0;
  SetIntResult(call, 4, selected + 1);
  SetTextResult(call, 3, list.dialog->ItemText(list.id, selected));
  return 0;
}

int ExecLX(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumbers(call, {1, 2, 3});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  SetTextResult(call, 4, "");
  const int32_t position = ParamValue(3);
  if (position >= 1) SetTextResult(call, 4, list.dialog->ItemText(list.id, position - 1));
  return 0;
}

// LH: every item, in order, a line each, as one print job; nothing with printing off or
// an empty list. A job that fails says why in the debug output.
int ExecLH(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  if (g_panelSettings.printerSupport == 0) return 0;
  const platform::PrintResult printed = platform::PrintLines(ItemsOf(list));
  if (!printed.printed && !printed.error.empty()) {
    ReportError(Mnemonic(call), "Printing failed: " + printed.error);
  }
  return 0;
}

int ExecLI(const CommandCall& call) {
  GetArguments(call.text, 5);
  CheckNumbers(call, {1, 2, 3, 4, 5});
  const int32_t position = ParamValue(2);
  const int32_t offset = ParamValue(5);
  // Each range problem is reported; strict inspection stops the command after it.
  const auto stops = [&call](int n) {
    ReportParamRange(Mnemonic(call), n, call.text);
    return IsStrictInspection();
  };
  if (position < 1 && stops(2)) return 0;
  if ((offset < 0 || WrapSub(position, offset) < 0) && stops(5)) return 0;
  ListControl list;
  if (!AddressList(call, 3, 4, list)) return 0;
  list.dialog->SetCurrentSelection(list.id, ParamValue(1) != 0 ? position - 1 : -1);
  if (offset != 0) list.dialog->SetTopIndex(list.id, WrapSub(position, offset));
  return 0;
}

int ExecLU(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, {1, 2, 3});
  ListControl list;
  if (!AddressList(call, 2, 3, list)) return 0;
  list.dialog->ShowDropDown(list.id, ParamValue(1) != 0);
  return 0;
}

int ExecLV(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, {1, 2, 3});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  // A list box's items share one height: setting it for each index sets it once, and an
  // empty list keeps its height.
  if (!list.combo && list.dialog->ItemCount(list.id) > 0) {
    list.dialog->SetItemHeight(list.id, static_cast<int>(ParamValue(3) & 0xFFFF));
  }
  list.dialog->UpdateControl(list.id);
  return 0;
}

int ExecLW(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, {1, 2, 3});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  if (!list.combo) list.dialog->SetColumnWidth(list.id, ParamValue(3));
  return 0;
}

int ExecLN(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1, 2});
  ListControl list;
  if (!AddressList(call, 1, 2, list)) return 0;
  list.dialog->FocusControl(list.id);
  return 0;
}

// The file name of parameter 1 as a Windows path; empty, after "file name parameter is
// NULL", when there is none.
std::string ListFileName(const CommandCall& call) {
  std::string name = ScriptPathToWindows(ParamText(1));
  if (name.empty()) ReportParamWarning(Mnemonic(call), 1, call.text, "file name parameter is NULL");
  return name;
}

// Reads a line without its line end, cut at its first carriage return and at the longest
// an item can be (the rest of a longer line is passed over, so that each line of the file
// is one line here). Whether the end of the file was met while reading it.
bool ReadListLine(std::FILE* file, std::string& line) {
  line.clear();
  bool cut = false;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    if (c == '\n') return false;
    if (c == '\r') cut = true;
    if (!cut && line.size() < kMaxItemLength) line += static_cast<char>(c);
  }
  return true;
}

int ExecLL(const CommandCall& call) {
  GetArguments(call.text, 5);
  CheckStringParam(Mnemonic(call), 1, false, true, call.text);
  CheckNumbers(call, {2, 3, 4, 5});
  if (!CheckParamLength(call, 1)) return 0;
  if (!PanelNumberInRange(call, 4)) return 0;
  if (!ControlNumberChecked(call, 5)) return 0;
  if (!CheckParamRange(call, 2, 1, kMaxFileLine)) return 0;
  if (!CheckParamRange(call, 3, 1, kMaxFileLine)) return 0;
  ListControl list;
  if (!AddressList(call, 4, 5, list)) return 0;
  const int first = ParamValue(2);
  const int last = ParamValue(3);
  const std::string name = ListFileName(call);
  if (name.empty()) return 0;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenWindowsFile(name, "r"),
                                                             std::fclose);
  if (!file) {
    ReportFileNotOpened(Mnemonic(call), 1, call.text, name);
    return 0;
  }
  ListBackingStore* store = StoreOf(list);
  DebugOut(Format("LL: begin file read, '%s'", name.c_str()));
  int added = 0;
  std::string line;
  for (int number = 1;; ++number) {
    // The line that meets the end of the file is not added: a last line without a line
    // end is lost, as it always was.
    if (ReadListLine(file.get(), line)) break;
    if (number < first || number > last || line.starts_with(';')) continue;
    AddListItem(list, store, line);
    ++added;
  }
  DebugOut(Format("LL: read, file closed: '%s', lines read: %d", name.c_str(), added));
  return 0;
}

int ExecLS(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckStringParam(Mnemonic(call), 1, false, true, call.text);
  CheckNumbers(call, {2, 3});
  if (!CheckParamLength(call, 1)) return 0;
  ListControl list;
  if (!AddressList(call, 2, 3, list)) return 0;
  const std::string name = ListFileName(call);
  if (name.empty()) return 0;
  std::string contents;
  for (const std::string& item : ItemsOf(list)) {
    contents += item;
    contents += '\n';
  }
  ReplaceWindowsFileReported(Mnemonic(call), 1, call.text, name, contents);
  return 0;
}

// LF's extended mode on a list control, the result and count going to parameters 4 and 6.
void ExtendedFilter(const CommandCall& call, const ListControl& list, std::string_view text,
                    uint32_t flags) {
  const int selected = list.dialog->CurrentSelection(list.id);
  SetIntResult(call, 4, 0);
  SetIntResult(call, 6, 0);
  const std::vector<std::string> shown = ItemsOf(list);
  std::vector<std::string> scratch = shown;
  if (!(flags & kListFilterListShown)) {
    const ListBackingStore* store = GetListBackingStore(list.panel, *list.dialog, list.id);
    if (store == nullptr) {
      DebugOut("LF: reload - backingstore ListBox NULL fail.");
      return;
    }
    ReloadFromBackingStore(scratch, *store);
  }
  int start = 0;
  if (flags & kListFilterFromSelection) {
    if (selected < 0) {
      DebugOut("LF: CURSEL LB_ERR setting start to 0.");
    } else {
      start = selected;
    }
  }
  const ListFilterOutcome outcome = FilterListItems(scratch, start, text, flags);
  // A search that reordered nothing leaves the list as it is shown.
  if (scratch != shown) list.dialog->ReplaceItems(list.id, scratch);
  SetIntResult(call, 4, outcome.result);
  SetIntResult(call, 6, outcome.count);
  list.dialog->SetCurrentSelection(list.id, outcome.result - 1);
}

// The list a command addressed, looked up again after something that may have run lines
// (a framed call to NXI): false when its panel is gone meanwhile.
bool StillThere(ListControl& list) {
  list.dialog = PanelDialog(list.panel);
  return list.dialog != nullptr;
}

// The indexes LR fetches when first and last are both 0: the numbers of a text such as
// "3,7,12", in the order written, each 1 to 4096; the others are skipped.
std::vector<int> IndexList(std::string_view text) {
  std::vector<int> indexes;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const int index = ReadDecimal(text.substr(0, comma));
    if (index >= 1 && index <= kMaxNxiIndex) indexes.push_back(index);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return indexes;
}

// LR: names from an NXI database added as items, for indexes first to last or for those of
// the index list.
int ExecLR(const CommandCall& call) {
  GetArguments(call.text, 7);
  CheckNumbers(call, {1, 2, 3, 4, 5, 6});
  const int device = ParamValue(1);
  const int database = ParamValue(2);
  const int first = ParamValue(3);
  const int last = ParamValue(4);
  const std::string indexText = ParamText(7);
  ListControl list;
  if (!AddressList(call, 5, 6, list)) return 0;
  std::vector<int> indexes;
  if (first == 0 && last == 0) {
    indexes = IndexList(indexText);
  } else {
    for (int index = first; index <= last; ++index) indexes.push_back(index);
  }
  for (const int index : indexes) {
    const std::string name = LookUpNameAtNxi(device, database, index, kNameReplyBytes);
    if (!StillThere(list)) return 0;
    AddListItem(list, StoreOf(list), name);
  }
  return 0;
}

// DL: the information text of every device NXI knows, added to a list box or combo box in
// device order. Only the list itself gets the items, not a list box's backing store.
int ExecDL(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1, 2});
  const int panel = ParamValue(1);
  const int id = ParamValue(2);
  const bool panelInRange = panel >= 1 && panel <= kMaxPanels;
  const bool idInRange = id >= 0 && id <= kMaxControlId;
  if (!panelInRange) ReportParamRange(Mnemonic(call), 1, call.text);
  if (!idInRange) ReportParamRange(Mnemonic(call), 2, call.text);
  // The two texts name each other's parameter, as the original's do.
  if (!panelInRange) {
    ReportError(Mnemonic(call), "ListBox parameter invalid.");
    return 0;
  }
  if (!idInRange) {
    ReportError(Mnemonic(call), "PanelId parameter invalid.");
    return 0;
  }
  ListControl list{.panel = panel, .dialog = PanelDialog(panel), .id = id};
  if (!list.dialog || !list.dialog->HasControl(id)) {
    ReportError(Mnemonic(call), "ListBoxId parameter invalid.");
    if (IsStrictInspection()) return 0;
  }
  for (int device = 1; device <= kMaxNxiDevice; ++device) {
    std::string info;
    if (DeviceInfoFromNxi(device, kDeviceInfoReplyBytes, &info) == 0) continue;
    DebugOut(info);
    if (StillThere(list)) AddListItem(list, nullptr, info);
  }
  return 0;
}

int ExecLF(const CommandCall& call) {
  // Missing numbers read as 0.
  const std::string padded = std::string(call.text) + " 0 0 0 0 0";
  GetArguments(padded, 6);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumbers(call, {2, 3, 5});
  if (!CheckParamLength(call, 1)) return 0;
  if (!PanelNumberInRange(call, 2)) return 0;
  if (!ControlNumberChecked(call, 3)) return 0;
  ListControl list;
  list.panel = ParamValue(2);
  list.id = ParamValue(3);
  list.dialog = ExistingPanel(call, list.panel);
  if (!ExistingControl(call, list.dialog, list.id)) {
    ReportParamWarning(Mnemonic(call), 3, call.text, "ListBox ID is invalid");
    SetIntResult(call, 4, 0);
    return 0;
  }
  list.combo = IsComboBox(*list.dialog, list.id);
  const std::string text = ParamText(1);
  if (text.empty()) {
    ReportParamWarning(Mnemonic(call), 1, call.text, "string length is ZERO");
    SetIntResult(call, 4, 0);
    return 0;
  }
  const auto mode = static_cast<uint32_t>(ParamValue(5));
  if (mode & kListFilterExtended) {
    ExtendedFilter(call, list, text, mode);
  } else {
    SetIntResult(call, 4, FindListItem(ItemsOf(list), text, ParamValue(5)));
  }
  return 0;
}

// FD: the names of the entries that match a pattern, in the order the file system gives
// them, in a list box (or combo box) emptied first.
int ExecFD(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumbers(call, {2, 3});
  if (!CheckParamLength(call, 1)) return 0;
  if (!PanelNumberInRange(call, 2)) return 0;
  if (!ControlNumberChecked(call, 3)) return 0;
  const std::string pattern = ScriptPathToWindows(ParamText(1));
  SetIntResult(call, 4, 0);
  ListControl list{.panel = ParamValue(2), .id = ParamValue(3)};
  list.dialog = ExistingPanel(call, list.panel);
  if (!ExistingControl(call, list.dialog, list.id) || list.dialog->ItemCount(list.id) < 0) {
    ReportError(Mnemonic(call), "Panel or ListBox parameter invalid.");
    return 0;
  }
  list.combo = IsComboBox(*list.dialog, list.id);
  ListBackingStore* store = StoreOf(list);
  list.dialog->ResetItems(list.id);
  if (store) store->clear();
  const std::vector<std::string> names = ListWindowsDirectory(pattern);
  if (names.empty()) {
    ReportWarning(Mnemonic(call), "Directory parameter invalid.");
    return 0;
  }
  for (const std::string& name : names) AddListItem(list, store, name);
  SetIntResult(call, 4, static_cast<int32_t>(names.size()));
  return 0;
}

// DL and FD fill a list too, so they are rows of this group.
constexpr CommandEntry kRows[] = {
    {"DL", ExecDL}, {"FD", ExecFD}, {"LA", ExecLA}, {"LB", ExecLB}, {"LC", ExecLC}, {"LD", ExecLD},
    {"LE", ExecLE}, {"LF", ExecLF}, {"LG", ExecLG}, {"LH", ExecLH}, {"LI", ExecLI}, {"LL", ExecLL},
    {"LN", ExecLN}, {"LP", ExecLP}, {"LQ", ExecLQ}, {"LR", ExecLR}, {"LS", ExecLS}, {"LT", ExecLT},
    {"LU", ExecLU}, {"LV", ExecLV}, {"LW", ExecLW}, {"LX", ExecLX},
};

}  // namespace

const CommandTable kListCommands = kRows;

}  // namespace velcrum
