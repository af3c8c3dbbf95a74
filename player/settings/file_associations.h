#pragma once
// The shell's classes of the player's file types: whether the six
// extensions name the player's two classes, and the registration that makes
// them do so, under HKEY_CLASSES_ROOT.
#include <string>

namespace quavera {

constexpr int kAssociatedExtensions = 6;

struct AssociationState {
    // Extensions whose key is missing or names some other class.
    int mismatches = 0;
    // Both classes of the player have their key.
    bool classesPresent = false;
};

AssociationState CheckAssociations();
// Points the six extensions at the player's classes, and makes each class
// that has no key yet: its description, icon and the verbs "play" (the
// default) and "open", which run the program. A class key that exists is
// left as it is. Keys that cannot be made are skipped.
void RegisterAssociations(const std::string& programPath);

} // namespace quavera
