#pragma once
// The local servers of the streaming tests as the Windows tests see them:
// addresses on the test server, the served bytes, the servers' logs.
#include <string>

#include "player_driver.h"

namespace quavera::test {

// The run folder of servers.sh (QUAVERA_HTTP_RUN, a Windows path).
std::string HttpRunFile(const char* name);
// "http://127.0.0.1:PORT/KIND/FILE" on the plain server; listener "trusted"
// or "untrusted" gives "https://localhost:PORT/KIND/FILE" on that TLS
// listener.
std::string TestUrl(const std::string& kind, const std::string& file = "", const char* listener = nullptr);
std::string ProxyPort();
// The bytes of a file the server serves (one made by make_engine_streams.sh),
// and the Windows name under which a test puts another file there.
std::string ServedBytes(const char* file);
std::string ServedPath(const char* file);
// Puts the bytes where the server serves them as /files/NAME; returns that address.
std::string ServeFile(const char* name, const std::string& bytes);

} // namespace quavera::test
