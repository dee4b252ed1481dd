// SDL2 backend: the single-instance lock is the user's private lock of instance_lock.h.
#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace sdlplat {

bool TakeRaiseRequest() { return instancelock::TakeRaiseRequest(); }

}  // namespace sdlplat

namespace plat {

int AcquireInstanceLock(const char* name) { return instancelock::Acquire(name); }

void ReleaseInstanceLock() { instancelock::Release(); }

}  // namespace plat
