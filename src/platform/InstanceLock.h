#pragma once

#include <QString>

namespace pausewell::platform {

// A per-user lock that the kernel drops when the process ends, however it ends.
// The descriptor is deliberately never closed: holding it is the lock.
enum class LockResult {
    Acquired,    // we are the only copy
    HeldByOther, // another copy of this user's holds it
    Unguarded,   // the lock could not be set up; run anyway
};

LockResult acquireInstanceLock(const QString &name);

// The user's private runtime folder ($XDG_RUNTIME_DIR, or a private folder of
// our own when it is unset or unsafe). Empty when none can be had.
QString privateRuntimeDir();

} // namespace pausewell::platform
