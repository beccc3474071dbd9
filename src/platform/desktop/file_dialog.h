// The common file dialogs: a Qt file dialog that asks for a file to open or a name to save
// under, running its own modal loop as a message box does (message_box.h).
//
// In headless runs the environment variable VELCRUM_FILEDIALOG answers every dialog at
// once instead, after writing "FILEDIALOG <title>: <answer>" to standard error as one line:
// its value is the chosen path (relative to the current directory unless absolute), and
// an empty value cancels. An open dialog that must find an existing file is cancelled when
// the answer names none, as the dialog would refuse it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/message.h"

namespace velcrum::platform {

struct FileDialogRequest {
  enum class Purpose { kOpen, kSave };
  Purpose purpose = Purpose::kOpen;
  std::string title;
  // Each "Description (*.ext)", in the order the dialog offers them; the first is chosen.
  std::vector<std::string> filters;
  // Added to a name typed without an extension ("ast").
  std::string defaultSuffix;
  // Where the dialog starts; empty: the current directory.
  std::string directory;
  // The name the dialog proposes (a save dialog's field); empty: none.
  std::string fileName;
  Hwnd owner = kNoWindow;
};

// The chosen path (absolute), or nothing when the operator cancelled.
std::optional<std::string> ChooseFile(const FileDialogRequest& request);

}  // namespace velcrum::platform
