#pragma once
// The global atom and registry values through which copies of the player
// find each other, and the hand-over of a command line to the running copy.
#include <windows.h>

#include "win_handles.h"

namespace quavera {

enum class InstanceCheck {
    Owner,      // this copy marks the player as running
    Guest,      // another copy runs and the user chose to run this one too
    HandedOver, // the command line went to the running copy: end quietly
    Declined,   // the user chose not to run a second copy: end
};

class InstanceMarker {
public:
    InstanceCheck Check(HWND dialog, const char* commandLine);
    // The atom's value, which the engine keeps for the stream it opens.
    WORD atom() const { return atom_; }
    // Clears the marker when this copy owns it.
    void Release();

private:
    void TakeOwnership(HWND dialog, ATOM atom);

    ATOM atom_ = 0;
    OwnedGlobalAtom owned_;
};

} // namespace quavera
