# Warnings as errors for our own code (third-party code is added before this
# applies to it through the quavera_warnings interface target).
add_library(quavera_warnings INTERFACE)
target_compile_options(quavera_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
