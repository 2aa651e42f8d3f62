#pragma once
// Ends the event loop on SIGTERM and SIGINT, so that a service manager or Ctrl-C stops the
// program cleanly, through the same end as closing the board: the sound library and the
// database client otherwise take both signals for themselves. Install it after both have set
// themselves up; installing it again takes the signals back.

void quitOnTerminationSignals();
