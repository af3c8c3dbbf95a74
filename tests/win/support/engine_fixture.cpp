#include "engine_fixture.h"

#include <cstdlib>

namespace quavera::test {

std::string StreamPath(const char* name) {
    const char* directory = std::getenv("QUAVERA_TEST_DATA");
    return std::string(directory ? directory : ".") + "\\" + name;
}

std::string TestRegistryLocation() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("QuaveraTests\\") + info->test_suite_name() + "." + info->name();
}

FileReader& EngineTest::reader() {
    static FileReader shared;
    return shared;
}

void EngineTest::SetUp() {
    location_ = TestRegistryLocation();
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + location_).c_str());
    tamblin::SetRegistryLocation(location_.c_str());
}

void EngineTest::TearDown() {
    tamblin::StopPlayback(1);
    tamblin::CloseStream();
}

void EngineTest::configure(int divisor, int quality, int channels, int bits, int buffers, int framesPerBuffer,
                           int method, int device) {
    tamblin::WritePlaybackConfiguration(divisor, quality, channels, bits, buffers, framesPerBuffer, method,
                                        device);
}

int EngineTest::open(const std::string& path, DWORD tickMs) {
    return tamblin::OpenStream(7, nullptr, path.c_str(), &reader_, tickMs);
}

} // namespace quavera::test
