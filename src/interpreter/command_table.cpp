// The 222 mnemonics, by letter group, and their handlers.
//
// To register a command, put its handler in its row below: that is the whole change.
// A row whose handler is nullptr is a mnemonic not built yet; the dispatcher reports it
// as an unknown command.
#include "interpreter/command_table.h"

#include <array>

#include "commands/string_commands.h"
#include "commands/text_commands.h"
#include "interpreter/flow_commands.h"
#include "interpreter/memory_commands.h"
#include "interpreter/numeric_commands.h"
#include "shell/quit_command.h"

namespace velcrum {
namespace {

struct CommandEntry {
  const char* mnemonic;
  CommandHandler handler;
};

// clang-format off
constexpr CommandEntry kCommands[] = {
    // Audio
    {"AB", nullptr}, {"AK", nullptr}, {"AM", nullptr}, {"AP", nullptr}, {"AR", nullptr},
    {"AS", nullptr},
    // Bitmap buttons
    {"BP", nullptr},
    // Controls
    {"CA", nullptr}, {"CC", nullptr}, {"CD", nullptr}, {"CE", nullptr}, {"CF", nullptr},
    {"CH", nullptr}, {"CI", nullptr}, {"CM", nullptr}, {"CN", nullptr}, {"CR", nullptr},
    {"CS", nullptr}, {"CT", nullptr}, {"CU", nullptr}, {"CV", nullptr},
    // Devices and databases
    {"DC", nullptr}, {"DD", nullptr}, {"DE", nullptr}, {"DG", nullptr}, {"DI", nullptr},
    {"DL", nullptr}, {"DM", nullptr}, {"DP", nullptr}, {"DR", nullptr}, {"DS", nullptr},
    {"DW", nullptr},
    // Execution and system
    {"EA", nullptr}, {"EB", nullptr}, {"EC", nullptr}, {"ED", nullptr}, {"EE", nullptr},
    {"EF", nullptr}, {"EH", nullptr}, {"EK", nullptr}, {"EL", nullptr}, {"EM", nullptr},
    {"EN", nullptr}, {"EP", nullptr}, {"ER", nullptr}, {"ES", nullptr}, {"EU", nullptr},
    {"EW", nullptr}, {"EZ", nullptr},
    // Event routing and timers
    {"ET", nullptr}, {"EO", nullptr}, {"EQ", ExecQuit},
    // Flow control
    {"EG", ExecEG}, {"EI", ExecEI}, {"EV", ExecEV},
    // Extension libraries
    {"EX", nullptr},
    // Directory lists
    {"FD", nullptr},
    // GPIs
    {"GF", nullptr}, {"GL", nullptr}, {"GP", nullptr}, {"GQ", nullptr}, {"GR", nullptr},
    {"GS", nullptr}, {"GU", nullptr},
    // HTML output
    {"HC", nullptr}, {"HD", nullptr}, {"HO", nullptr}, {"HR", nullptr}, {"HW", nullptr},
    // Infodrivers
    {"ID", nullptr}, {"IF", nullptr}, {"IG", nullptr}, {"IH", nullptr}, {"IL", nullptr},
    {"IP", nullptr}, {"IQ", nullptr}, {"IR", nullptr}, {"IS", nullptr}, {"IU", nullptr},
    {"IW", nullptr},
    // Jumps and subroutines
    {"JA", ExecJA}, {"JC", ExecJC}, {"JD", ExecJD}, {"JE", ExecJE}, {"JG", ExecJG},
    {"JI", ExecJI}, {"JL", ExecJL}, {"JO", ExecJO}, {"JR", ExecJR}, {"JS", ExecJS},
    {"JT", ExecJT},
    // Keyboard capture
    {"KR", nullptr}, {"KU", nullptr},
    // List boxes
    {"LA", nullptr}, {"LB", nullptr}, {"LC", nullptr}, {"LD", nullptr}, {"LE", nullptr},
    {"LF", nullptr}, {"LG", nullptr}, {"LH", nullptr}, {"LI", nullptr}, {"LL", nullptr},
    {"LN", nullptr}, {"LP", nullptr}, {"LQ", nullptr}, {"LR", nullptr}, {"LS", nullptr},
    {"LT", nullptr}, {"LU", nullptr}, {"LV", nullptr}, {"LW", nullptr}, {"LX", nullptr},
    // Memories
    {"MA", ExecMA}, {"MD", ExecMD}, {"MF", ExecMF}, {"MG", ExecMG}, {"MI", ExecMI},
    {"ML", ExecML}, {"MM", ExecMM}, {"MP", ExecMP}, {"MR", ExecMR}, {"MS", ExecMS},
    {"MW", ExecMW},
    // Numbers
    {"NA", ExecNA}, {"NB", ExecNB}, {"NC", ExecNC}, {"ND", ExecND}, {"NF", ExecNF},
    {"NG", nullptr}, {"NL", ExecNL}, {"NM", ExecNM}, {"NP", nullptr}, {"NR", ExecNR},
    {"NS", ExecNS}, {"NT", ExecNT},
    // Panels
    {"PD", nullptr}, {"PI", nullptr}, {"PM", nullptr}, {"PR", nullptr}, {"PS", nullptr},
    {"PV", nullptr}, {"PZ", nullptr},
    // Queries
    {"QC", nullptr}, {"QD", nullptr}, {"QF", nullptr}, {"QH", nullptr}, {"QP", nullptr},
    {"QS", nullptr},
    // Routers
    {"RC", nullptr}, {"RD", nullptr}, {"RF", nullptr}, {"RI", nullptr}, {"RL", nullptr},
    {"RM", nullptr}, {"RN", nullptr}, {"RP", nullptr}, {"RQ", nullptr}, {"RR", nullptr},
    {"RU", nullptr},
    // Strings
    {"SA", ExecSA}, {"SC", ExecSC}, {"SD", ExecSD}, {"SE", ExecSE}, {"SF", ExecSF},
    {"SG", ExecSG}, {"SH", ExecSH}, {"SI", ExecSI}, {"SL", ExecSL}, {"SM", nullptr},
    {"SN", ExecSN}, {"SO", ExecSO}, {"SP", ExecSP}, {"SQ", ExecSQ}, {"SR", ExecSR},
    {"SS", ExecSS}, {"ST", ExecST}, {"SW", ExecSW},
    // Text
    {"TB", ExecTB}, {"TC", nullptr}, {"TD", ExecTD}, {"TE", ExecTE}, {"TF", ExecTF},
    {"TG", nullptr}, {"TH", ExecTH}, {"TI", ExecTI}, {"TL", ExecTL}, {"TM", nullptr},
    {"TP", nullptr}, {"TQ", ExecTQ}, {"TR", ExecTR}, {"TS", ExecTS}, {"TT", ExecTT},
    {"TW", ExecTW}, {"TX", ExecTX},
    // Under-monitor displays
    {"UE", nullptr}, {"UP", nullptr},
    // Video overlay
    {"VA", nullptr}, {"VC", nullptr}, {"VD", nullptr}, {"VE", nullptr}, {"VF", nullptr},
    {"VI", nullptr}, {"VP", nullptr}, {"VR", nullptr}, {"VS", nullptr}, {"VW", nullptr},
    // Window-system messages
    {"WD", nullptr}, {"WE", nullptr}, {"WF", nullptr}, {"WT", nullptr},
    // Direct driver messaging
    {"XC", nullptr}, {"XD", nullptr}, {"XG", nullptr}, {"XI", nullptr}, {"XN", nullptr},
    {"XP", nullptr}, {"XR", nullptr}, {"XS", nullptr}, {"XT", nullptr}, {"XU", nullptr},
    {"XW", nullptr},
};
// clang-format on

static_assert(std::size(kCommands) == 222, "the command set has 222 mnemonics");

constexpr int kLetters = 26;

// Two capital letters index the grid directly, so a look-up costs one load.
struct Grid {
  std::array<CommandHandler, kLetters * kLetters> handlers{};

  Grid() {
    for (const CommandEntry& entry : kCommands) {
      const int cell = Cell(entry.mnemonic[0], entry.mnemonic[1]);
      handlers[static_cast<size_t>(cell)] = entry.handler;
    }
  }

  static int Cell(char first, char second) {
    if (first < 'A' || first > 'Z' || second < 'A' || second > 'Z') return -1;
    return (first - 'A') * kLetters + (second - 'A');
  }
};

Grid& TheGrid() {
  static Grid grid;
  return grid;
}

}  // namespace

CommandHandler FindHandler(char first, char second) {
  const int cell = Grid::Cell(first, second);
  return cell < 0 ? nullptr : TheGrid().handlers[static_cast<size_t>(cell)];
}

uint32_t g_commandTableGeneration = 0;

CommandHandler ReplaceHandler(std::string_view mnemonic, CommandHandler handler) {
  if (mnemonic.size() != 2) return nullptr;
  ++g_commandTableGeneration;
  const int cell = Grid::Cell(mnemonic[0], mnemonic[1]);
  if (cell < 0) return nullptr;
  CommandHandler& slot = TheGrid().handlers[static_cast<size_t>(cell)];
  const CommandHandler previous = slot;
  slot = handler;
  return previous;
}

}  // namespace velcrum
