#pragma once
// Runs the built lavodc-cli as a child process and measures it: its exit code, what it printed
// (standard output and error together) and its own peak memory (wait4).

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace lavodc::test {

struct CliRun {
    int exitCode = -1;
    std::string output;
    long peakKb = 0;
};

// `prepare` runs in the child before the tool starts (limits, signals); `outputFile` takes
// what it prints. A runaway run ends at 2 GB of address space.
inline CliRun RunCli(const std::vector<std::string>& arguments, const std::filesystem::path& outputFile,
                     const std::function<void()>& prepare = {})
{
    const std::string program = (std::filesystem::path(LAVODC_BIN_DIR) / "lavodc-cli").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    CliRun run;
    const pid_t child = fork();
    if (child == 0) {
        const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(out, 2);
        const rlimit fuse{2ul << 30, 2ul << 30};
        ::setrlimit(RLIMIT_AS, &fuse);
        if (prepare)
            prepare();
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKb = usage.ru_maxrss;
    std::ifstream in(outputFile, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(in), {});
    return run;
}

} // namespace lavodc::test
