#include <windows.h>

#include "player_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    quavera::PlayerApp app(instance);
    return app.Run(commandLine);
}
