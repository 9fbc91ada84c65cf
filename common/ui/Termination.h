#pragma once
// SIGTERM (a logout, a shutdown, a polite kill) and SIGINT (Ctrl+C in the terminal that started the
// program) end a program of the suite as they always did, after the last things it must do: each
// recovery copy of unsaved work is written first. The signal only wakes the window's thread (a
// byte on a socket pair), where the last things run; then the program ends by the same signal, so
// whoever started it sees how it ended. A second signal ends it at once, last things or not.
#include <functional>

class QObject;

// Installs the handlers; the application does it once at start.
void EndProgramOnTerminationSignals();
// Runs `last` before the program ends on such a signal, as long as `owner` lives.
void BeforeTermination(QObject* owner, std::function<void()> last);
