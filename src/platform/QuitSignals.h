#pragma once
// SIGTERM and SIGINT (a session ending, Ctrl+C) end the program through its normal quit, so the
// shutdown runs and the options are saved.

namespace platform {

void QuitOnTerminationSignals();

}  // namespace platform
