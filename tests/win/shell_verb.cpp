// Opens a file through a verb of its file class, as the shell's context menu
// does: shell_verb VERB FILE. Exit code 0 when the shell started the verb's
// program.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: shell_verb VERB FILE\n");
        return 2;
    }
    SHELLEXECUTEINFOA shell{};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    shell.lpVerb = argv[1];
    shell.lpFile = argv[2];
    shell.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&shell)) {
        std::fprintf(stderr, "shell_verb: %s %s failed, error %lu\n", argv[1], argv[2], GetLastError());
        return 1;
    }
    if (shell.hProcess) CloseHandle(shell.hProcess);
    return 0;
}
