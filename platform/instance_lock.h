// The per-user single-instance lock of the real program, kept where only the user can
// reach it: a lock file and a socket for raise requests in $XDG_RUNTIME_DIR, or, where
// that is not a private folder, in ~/.cache/akari/. No other user can take the lock
// first, and a copy that dies, however it dies, leaves no lock behind.
#pragma once
#include <string>

namespace instancelock {

// The folder the lock lives in: $XDG_RUNTIME_DIR when it is a folder of this user's
// that no one else may enter, else ~/.cache/akari/ (created 0700), checked alike; ""
// when neither is.
std::string PrivateFolder();

// Takes the lock called name (once per process). 1 when taken, and also where no private folder can be
// found (the game then runs unlocked and says so on standard error); 0 when another
// copy holds it, after asking that copy to raise its window.
int Acquire(const char* name);

// True once for every raise request another copy has sent since the last call.
bool TakeRaiseRequest();

// Gives the lock up so that a new copy may start.
void Release();

}  // namespace instancelock
