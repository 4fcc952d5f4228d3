// Stands in for the about library in tests: keeps what ShowVane was given instead of
// showing a box.
#include <string>

namespace {
std::string changeText;
std::string versionText;
int calls = 0;
}

extern "C" __attribute__((visibility("default"))) void ShowVane(const char* changeLine, const char* versionLine)
{
    changeText = changeLine;
    versionText = versionLine;
    ++calls;
}

extern "C" __attribute__((visibility("default"))) int FakeVaneCalls(const char** changeLine, const char** versionLine)
{
    *changeLine = changeText.c_str();
    *versionLine = versionText.c_str();
    return calls;
}
