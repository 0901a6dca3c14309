// Platform seam: a named system object that marks a running instance.
//
// Windows: a named semaphore (CreateSemaphoreW with no security
// attributes, initial count 0, maximum count 1); it already existed when
// the call returns a handle and GetLastError() is ERROR_ALREADY_EXISTS.
// The marker is never waited on: only its existence counts. It is held
// until Release or the object's destruction. Tests use a fake
// (tests/fakes/FakeSingleInstance.h).
#pragma once

#include <string>

enum TInstanceClaim {
    icFirst,      // the marker is new: no other instance holds it
    icDuplicate,  // another process already holds a marker of this name
    icFailed,     // the system made no marker; not taken for a duplicate
};

class ISingleInstance {
public:
    virtual ~ISingleInstance() = default;
    // Creates (or opens) the marker Name and keeps it.
    virtual TInstanceClaim Claim(const std::string& Name) = 0;
    // Lets go of the marker; nothing happens when none is held.
    virtual void Release() = 0;
};
