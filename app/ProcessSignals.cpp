#include "app/ProcessSignals.h"
#include <csignal>

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
