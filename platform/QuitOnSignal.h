#pragma once
// Ends the event loop on SIGTERM and SIGINT, so that a service manager or Ctrl-C stops the
// program cleanly: the sound library otherwise takes both signals for itself.

void quitOnTerminationSignals();
