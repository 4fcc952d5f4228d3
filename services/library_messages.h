#pragma once
// libxlsxwriter prints its failures on standard error ("[ERROR]...") as well as returning them;
// the user hears of a failure once, in the program's message. While an object of this class
// lives, standard error goes to /dev/null.

namespace lavodc {

class LibraryMessagesSilenced {
public:
    LibraryMessagesSilenced();
    ~LibraryMessagesSilenced();
    LibraryMessagesSilenced(const LibraryMessagesSilenced&) = delete;
    LibraryMessagesSilenced& operator=(const LibraryMessagesSilenced&) = delete;

private:
    int saved_ = -1;
};

} // namespace lavodc
