// Keeping the executor's place across a nested run.
//
// A line may run while another is in the middle of a command: EV runs its text, and a
// message that arrives while a command waits (a box, a framed send) runs a section or a
// control's line. The inner run shares the executor's globals, so the outer line would
// otherwise go on with the inner run's pending jump, in-sequence flag, subroutine stack
// and kept tokens. A NestedRun notes all of that when it is made and puts it back when
// it goes out of scope, whatever the inner run did.
//
// It does not keep the parameter table's contents: the inner run parses commands of its
// own, so a handler takes everything it needs from its parameters before it starts
// anything that may run a line.
#pragma once

#include <algorithm>
#include <vector>

#include "interpreter/executor_state.h"
#include "interpreter/preparsed_arguments.h"

namespace velcrum {

class NestedRun {
 public:
  NestedRun()
      : line_(g_iCurrentLine),
        command_(g_iCurrentCommand),
        jumpPending_(iJumpPending),
        cmdPending_(iCmdPending),
        inSequence_(g_bInSequence),
        endOfLineRequest_(g_bEndOfLineRequest),
        procStackPtr_(g_iProcStackPtr),
        dispatchedArguments_(g_pDispatchedArguments),
        // Only the live frames: those above the top are written before they are read.
        procStack_(std::begin(g_iProcStack), std::begin(g_iProcStack) + LiveFrames()) {}

  ~NestedRun() {
    std::copy(procStack_.begin(), procStack_.end(), std::begin(g_iProcStack));
    g_iProcStackPtr = procStackPtr_;
    g_pDispatchedArguments = dispatchedArguments_;
    g_bEndOfLineRequest = endOfLineRequest_;
    g_bInSequence = inSequence_;
    iCmdPending = cmdPending_;
    iJumpPending = jumpPending_;
    g_iCurrentCommand = command_;
    g_iCurrentLine = line_;
  }

  NestedRun(const NestedRun&) = delete;
  NestedRun& operator=(const NestedRun&) = delete;

 private:
  int LiveFrames() const { return std::clamp(procStackPtr_ + 1, 0, kProcStackSize); }

  int line_;
  int command_;
  int jumpPending_;
  int cmdPending_;
  bool inSequence_;
  bool endOfLineRequest_;
  int procStackPtr_;
  PreparsedArguments* dispatchedArguments_;
  std::vector<ProcStackEntry> procStack_;
};

}  // namespace velcrum
