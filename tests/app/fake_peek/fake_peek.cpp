// Stands in for the pages library in tests: keeps what peekshow was given instead of
// showing a window.
#include <string>

namespace {
int calls = 0;
int lastPlace[4] = {};
std::string lastAddress;
}

extern "C" __attribute__((visibility("default"))) void peekshow(int top, int left, int height, int width,
                                                               const char* address)
{
    lastPlace[0] = top;
    lastPlace[1] = left;
    lastPlace[2] = height;
    lastPlace[3] = width;
    lastAddress = address;
    ++calls;
}

extern "C" __attribute__((visibility("default"))) int FakePeekCalls(int* place, const char** address)
{
    for (int i = 0; i < 4; ++i)
        place[i] = lastPlace[i];
    *address = lastAddress.c_str();
    return calls;
}
