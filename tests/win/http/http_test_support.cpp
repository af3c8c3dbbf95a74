#include "http_test_support.h"

#include <cstdlib>
#include <fstream>

namespace quavera::test {
namespace {

std::string Folder(const char* variable) {
    const char* folder = std::getenv(variable);
    return folder ? folder : ".";
}

} // namespace

std::string HttpRunFile(const char* name) { return FileContent(Folder("QUAVERA_HTTP_RUN") + "\\" + name); }

std::string TestUrl(const std::string& kind, const std::string& file, const char* listener) {
    const std::string port = HttpRunFile(listener ? (std::string("port-") + listener).c_str() : "port");
    // The TLS certificates name localhost only.
    std::string url = std::string(listener ? "https://localhost:" : "http://127.0.0.1:") + port + "/" + kind;
    if (!file.empty()) url += "/" + file;
    return url;
}

std::string ProxyPort() {
    std::string port = HttpRunFile("proxy-port");
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
    return port;
}

std::string ServedPath(const char* file) { return Folder("QUAVERA_HTTP_RUN") + "\\served\\" + file; }

std::string ServedBytes(const char* file) { return FileContent(ServedPath(file)); }

std::string ServeFile(const char* name, const std::string& bytes) {
    std::ofstream(ServedPath(name), std::ios::binary) << bytes;
    return TestUrl("files", name);
}

} // namespace quavera::test
