// A build killed at any moment leaves the file it was replacing whole: the target holds either
// the previous sheet or the new one, never a part.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A sheet of `workers` workers whose names start with `prefix`.
std::string sheetJson(const std::string& prefix, int workers)
{
    std::string json = "{\"header\": {\"gsName\": \"" + prefix + "\"}, \"workers\": [";
    for (int i = 0; i < workers; ++i) {
        json += i ? ",\n" : "\n";
        json += "{\"pName\": \"" + prefix + std::to_string(i) + "\", \"nAddr\": \"address " + std::to_string(i)
              + "\", \"SmMny\": " + std::to_string(1000 + i) + ", \"d05\": \"\xE2\x88\x9A\"}";
    }
    return json + "]}\n";
}

pid_t startBuild(const fs::path& json, const fs::path& out)
{
    const std::string cli = std::string(LAVODC_BIN_DIR) + "/lavodc-cli";
    std::string a0 = cli, a1 = "build", a2 = json.string(), a3 = out.string();
    char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};
    pid_t pid = -1;
    return ::posix_spawn(&pid, cli.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

int finish(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(KillDuringBuild, TheReplacedFileIsAlwaysWholeOldOrWholeNew)
{
    const fs::path dir = fs::temp_directory_path() / ("lavodc_kill_build_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path jsonA = dir / "a.json";
    const fs::path jsonB = dir / "b.json";
    std::ofstream(jsonA) << sheetJson("A", 20000);
    std::ofstream(jsonB) << sheetJson("B", 20000);

    // What each build writes when it is left to finish.
    const fs::path target = dir / "site.Lvo";
    ASSERT_EQ(finish(startBuild(jsonB, target)), 0);
    const std::string wholeB = slurp(target);
    ASSERT_EQ(finish(startBuild(jsonA, target)), 0);
    const std::string wholeA = slurp(target);
    ASSERT_NE(wholeA, wholeB);

    std::mt19937 random(7);
    int killedWhileRunning = 0;
    for (int round = 0; round < 24; ++round) {
        const pid_t pid = startBuild(round % 2 ? jsonA : jsonB, target);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 250));
        ::kill(pid, SIGKILL);
        const int status = finish(pid);
        if (WIFSIGNALED(status))
            ++killedWhileRunning;
        const std::string now = slurp(target);
        ASSERT_TRUE(now == wholeA || now == wholeB) << "round " << round << ": " << now.size() << " bytes";
    }
    EXPECT_GT(killedWhileRunning, 0) << "no build was killed while it ran";
    fs::remove_all(dir);
}

} // namespace
