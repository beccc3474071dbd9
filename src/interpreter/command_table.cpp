// The 223 mnemonics of the command set, and the dispatcher's grid of handlers.
//
// The interpreter knows the names of every command but none of their handlers: each command
// group exports a table of its rows, and the program that runs scripts registers the groups
// it links. Adding a command is one row in its own group's table.
#include "interpreter/command_table.h"

#include <array>

namespace velcrum {
namespace {

// clang-format off
constexpr std::string_view kMnemonics[] = {
    // Audio
    "AB", "AG", "AK", "AM", "AP", "AR", "AS",
    // Bitmap buttons
    "BP",
    // Controls
    "CA", "CC", "CD", "CE", "CF", "CH", "CI", "CM", "CN", "CR", "CS", "CT", "CU", "CV",
    // Devices and databases
    "DC", "DD", "DE", "DG", "DI", "DL", "DM", "DP", "DR", "DS", "DW",
    // Execution and system
    "EA", "EB", "EC", "ED", "EE", "EF", "EH", "EK", "EL", "EM", "EN", "EP", "ER", "ES", "EU", "EW",
    "EZ",
    // Event routing and timers
    "ET", "EO", "EQ",
    // Flow control
    "EG", "EI", "EV",
    // Extension libraries
    "EX",
    // Directory lists
    "FD",
    // GPIs
    "GF", "GL", "GP", "GQ", "GR", "GS", "GU",
    // HTML output
    "HC", "HD", "HO", "HR", "HW",
    // Infodrivers
    "ID", "IF", "IG", "IH", "IL", "IP", "IQ", "IR", "IS", "IU", "IW",
    // Jumps and subroutines
    "JA", "JC", "JD", "JE", "JG", "JI", "JL", "JO", "JR", "JS", "JT",
    // Keyboard capture
    "KR", "KU",
    // List boxes
    "LA", "LB", "LC", "LD", "LE", "LF", "LG", "LH", "LI", "LL", "LN", "LP", "LQ", "LR", "LS", "LT",
    "LU", "LV", "LW", "LX",
    // Memories
    "MA", "MD", "MF", "MG", "MI", "ML", "MM", "MP", "MR", "MS", "MW",
    // Numbers
    "NA", "NB", "NC", "ND", "NF", "NG", "NL", "NM", "NP", "NR", "NS", "NT",
    // Panels
    "PD", "PI", "PM", "PR", "PS", "PV", "PZ",
    // Queries
    "QC", "QD", "QF", "QH", "QP", "QS",
    // Routers
    "RC", "RD", "RF", "RI", "RL", "RM", "RN", "RP", "RQ", "RR", "RU",
    // Strings
    "SA", "SC", "SD", "SE", "SF", "SG", "SH", "SI", "SL", "SM", "SN", "SO", "SP", "SQ", "SR", "SS",
    "ST", "SW",
    // Text
    "TB", "TC", "TD", "TE", "TF", "TG", "TH", "TI", "TL", "TM", "TP", "TQ", "TR", "TS", "TT", "TW",
    "TX",
    // Under-monitor displays
    "UE", "UP",
    // Video overlay
    "VA", "VC", "VD", "VE", "VF", "VI", "VP", "VR", "VS", "VW",
    // Window-system messages
    "WD", "WE", "WF", "WT",
    // Direct driver messaging
    "XC", "XD", "XG", "XI", "XN", "XP", "XR", "XS", "XT", "XU", "XW",
};
// clang-format on

static_assert(std::size(kMnemonics) == 223, "the command set has 223 mnemonics");

constexpr int kLetters = 26;

int Cell(char first, char second) {
  if (first < 'A' || first > 'Z' || second < 'A' || second > 'Z') return -1;
  return (first - 'A') * kLetters + (second - 'A');
}

// Two capital letters index the grid directly, so a look-up costs one load.
struct Grid {
  std::array<CommandHandler, kLetters * kLetters> handlers{};
  std::array<bool, kLetters * kLetters> isMnemonic{};

  Grid() {
    for (const std::string_view mnemonic : kMnemonics) {
      isMnemonic[static_cast<size_t>(Cell(mnemonic[0], mnemonic[1]))] = true;
    }
  }
};

Grid& TheGrid() {
  static Grid grid;
  return grid;
}

// The cell of one of the 223 mnemonics; -1 for any other text.
int MnemonicCell(std::string_view text) {
  if (text.size() != 2) return -1;
  const int cell = Cell(text[0], text[1]);
  return cell >= 0 && TheGrid().isMnemonic[static_cast<size_t>(cell)] ? cell : -1;
}

}  // namespace

uint32_t g_commandTableGeneration = 0;

std::span<const std::string_view> Mnemonics() {
  return kMnemonics;
}

bool IsMnemonic(std::string_view text) {
  return MnemonicCell(text) >= 0;
}

bool RegisterCommands(CommandTable table) {
  bool allKnown = true;
  for (const CommandEntry& entry : table) {
    const int cell = MnemonicCell(entry.mnemonic);
    if (cell < 0) {
      allKnown = false;
      continue;
    }
    TheGrid().handlers[static_cast<size_t>(cell)] = entry.handler;
  }
  ++g_commandTableGeneration;
  return allKnown;
}

void ClearCommands() {
  TheGrid().handlers.fill(nullptr);
  ++g_commandTableGeneration;
}

CommandHandler FindHandler(char first, char second) {
  const int cell = Cell(first, second);
  return cell < 0 ? nullptr : TheGrid().handlers[static_cast<size_t>(cell)];
}

CommandHandler ReplaceHandler(std::string_view mnemonic, CommandHandler handler) {
  if (mnemonic.size() != 2) return nullptr;
  ++g_commandTableGeneration;
  const int cell = Cell(mnemonic[0], mnemonic[1]);
  if (cell < 0) return nullptr;
  CommandHandler& slot = TheGrid().handlers[static_cast<size_t>(cell)];
  const CommandHandler previous = slot;
  slot = handler;
  return previous;
}

}  // namespace velcrum
