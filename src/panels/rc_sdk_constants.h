// The constants of the Windows SDK and MFC headers that resource scripts use (window,
// dialog and control styles, IDOK and its kin, IDC_STATIC, virtual-key codes, the
// common dialogs' control identifiers, font weights and character sets, languages), with
// their real Win32 values.
//
// Scripts include windows.h, winres.h, afxres.h, commctrl.h, dlgs.h ... for these names;
// those headers live with the Windows compiler, never beside the script, so the reader
// knows the names itself and never reads such a header.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velcrum {

// The value of an SDK constant (names compared as C compares them, with case), or none.
std::optional<int32_t> RcSdkConstant(std::string_view name);

// A header or resource file of the Windows SDK or MFC that scripts include (windows.h,
// afxres.h, afxres.rc, commctrl.h, ...; directories before the name do not count).
bool IsRcSdkFile(std::string_view name);

}  // namespace velcrum
