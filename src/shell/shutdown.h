// The shut-down: MainCloseDown, which starts it (first call) and writes the closing log
// lines (every call), and the final step that ends the message loop.
#pragma once

namespace velcrum {

void MainCloseDown();
// Message 2084 or timer 21.
void FinalCloseStep();

}  // namespace velcrum
