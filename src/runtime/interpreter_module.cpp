// The interpreter's module.
#include "runtime/interpreter_module.h"

#include "interpreter/flow_commands.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/memory_commands.h"
#include "interpreter/numeric_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kFlowCommands, kNumericCommands, kMemoryCommands};

}  // namespace

const Module kInterpreterModule = {
    .name = "interpreter",
    .commands = kGroups,
    .reset = ResetInterpreter,
};

}  // namespace velcrum
