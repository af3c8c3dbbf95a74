#include "file_associations.h"

#include <windows.h>

#include <cstring>
#include <span>
#include <string_view>

#include "file_extensions.h"
#include "handles.h"

namespace quavera {
namespace {

struct FileClass {
    const char* name;
    const char* description;
    // Which of the program's icons the shell shows for the files.
    const char* iconIndex;
    std::span<const char* const> extensions;
};

constexpr FileClass kClasses[] = {
    {"Quavera.AudioFile", "Quavera MPEG audio file", ", 0", kAudioExtensions},
    {"Quavera.PlaylistFile", "Quavera playlist file", ", 3", kPlaylistExtensions},
};

enum class ValueKind { Description, Icon, Text, Command };

struct ClassValue {
    const char* subkey;
    ValueKind kind;
    // The text, or what follows the program in a command.
    const char* text;
};

// A class's keys in the order they are made. The commands give the program
// in quotation marks: unquoted, a path with blanks ("C:\Program Files\...")
// would first be tried as the shorter program before its first blank.
constexpr ClassValue kClassValues[] = {
    {"", ValueKind::Description, nullptr},
    {"DefaultIcon", ValueKind::Icon, nullptr},
    {"shell", ValueKind::Text, "play"},
    {"shell\\play", ValueKind::Text, "Play"},
    {"shell\\play\\command", ValueKind::Command, " /play %1"},
    {"shell\\open", ValueKind::Text, "Open"},
    {"shell\\open\\command", ValueKind::Command, " %1"},
};

std::string ValueText(const ClassValue& value, const FileClass& fileClass, const std::string& program) {
    switch (value.kind) {
    case ValueKind::Description: return fileClass.description;
    case ValueKind::Icon: return program + fileClass.iconIndex;
    case ValueKind::Text: return value.text;
    case ValueKind::Command: return "\"" + program + "\"" + value.text;
    }
    return {};
}

bool KeyExists(const std::string& path) {
    RegKey key;
    return RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

// Whether the extension's key names the class, byte for byte.
bool NamesClass(const char* extension, const char* className) {
    RegKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return false;
    char value[256];
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    return std::string_view(value, strnlen(value, size)) == className;
}

// Opens or makes the key and sets its default value.
void SetDefaultValue(const std::string& path, const std::string& text) {
    RegKey key;
    char keyClass[] = "String";
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, key.receive(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

} // namespace

AssociationState CheckAssociations() {
    AssociationState state;
    state.classesPresent = true;
    for (const FileClass& fileClass : kClasses) {
        for (const char* extension : fileClass.extensions)
            if (!NamesClass(extension, fileClass.name)) ++state.mismatches;
        if (!KeyExists(fileClass.name)) state.classesPresent = false;
    }
    return state;
}

void RegisterAssociations(const std::string& programPath) {
    for (const FileClass& fileClass : kClasses)
        for (const char* extension : fileClass.extensions) SetDefaultValue(extension, fileClass.name);
    for (const FileClass& fileClass : kClasses) {
        if (KeyExists(fileClass.name)) continue;
        for (const ClassValue& value : kClassValues) {
            std::string path = fileClass.name;
            if (*value.subkey) path.append("\\").append(value.subkey);
            SetDefaultValue(path, ValueText(value, fileClass, programPath));
        }
    }
}

} // namespace quavera
