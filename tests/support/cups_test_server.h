#pragma once
// A CUPS daemon of the tests' own: started in the foreground with its own configuration,
// spool and socket in a scratch folder, one CUPS-PDF queue "LavoPdf" whose jobs land as PDF
// files in a folder of that scratch folder, stopped when the test process ends. The process
// talks to it through CUPS_SERVER, set before anything asks for printers, so the tests never
// see the machine's own queues. When the daemon cannot run here, WhyNot() says why.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace lavodc::testing {

struct CommandOutcome {
    int exitCode = -1;
    std::string output;   // standard output and error
};

inline CommandOutcome RunCommand(const std::string& command)
{
    CommandOutcome outcome;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    std::array<char, 4096> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        outcome.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

inline std::string Quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

// A page rendered to grey pixels by pdftoppm.
struct GreyPage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
    bool dark(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] < 128; }
};

// Page `page` of `pdf` at `dpi`, or an empty page when it cannot be rendered.
inline GreyPage RenderPdfPage(const std::filesystem::path& pdf, int page, int dpi)
{
    const std::filesystem::path stem = pdf.parent_path() / ("render-" + std::to_string(page));
    const std::string command = "pdftoppm -gray -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " -singlefile " + Quoted(pdf) + " " + Quoted(stem);
    GreyPage grey;
    if (RunCommand(command).exitCode != 0)
        return grey;
    std::ifstream in(stem.string() + ".pgm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> grey.width >> grey.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || grey.width <= 0 || grey.height <= 0)
        return {};
    grey.pixels.resize(static_cast<std::size_t>(grey.width) * grey.height);
    in.read(reinterpret_cast<char*>(grey.pixels.data()), static_cast<std::streamsize>(grey.pixels.size()));
    std::filesystem::remove(stem.string() + ".pgm");
    return grey;
}

class CupsTestServer {
public:
    static constexpr const char* kQueue = "LavoPdf";

    // The one daemon of this test process, started on first use.
    static CupsTestServer& Shared()
    {
        static CupsTestServer server;
        return server;
    }

    bool Running() const { return whyNot_.empty(); }
    const std::string& WhyNot() const { return whyNot_; }
    const std::string& Socket() const { return socket_; }
    std::filesystem::path OutFolder() const { return root_ / "out"; }
    // Prefix for a command line that talks to this daemon.
    std::string Env() const { return "CUPS_SERVER=" + Quoted(socket_) + " "; }

    void ClearOut()
    {
        for (const auto& entry : std::filesystem::directory_iterator(OutFolder()))
            std::filesystem::remove_all(entry.path());
    }

    // Lets the queue take jobs or refuse them.
    bool Accept(bool accept)
    {
        return RunCommand(Env() + (accept ? "cupsaccept " : "cupsreject -r 'closed for the test' ") + kQueue)
                   .exitCode == 0;
    }

    // Waits until `count` PDFs have landed and the queue has finished its jobs; the PDFs found.
    std::vector<std::filesystem::path> WaitForPdfs(std::size_t count, std::chrono::seconds timeout = std::chrono::seconds(90))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::vector<std::filesystem::path> found;
        while (std::chrono::steady_clock::now() < deadline) {
            found.clear();
            for (const auto& entry : std::filesystem::directory_iterator(OutFolder()))
                if (entry.path().extension() == ".pdf")
                    found.push_back(entry.path());
            if (found.size() >= count && RunCommand(Env() + "lpstat -o " + kQueue).output.empty())
                return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        return found;
    }

    // Whether jobs are still waiting or running on the queue.
    bool QueueBusy() { return !RunCommand(Env() + "lpstat -o " + kQueue).output.empty(); }

    CupsTestServer(const CupsTestServer&) = delete;
    CupsTestServer& operator=(const CupsTestServer&) = delete;

private:
    CupsTestServer()
    {
        socket_ = SocketPath();
        setenv("CUPS_SERVER", socket_.c_str(), 1);
        whyNot_ = start();
        if (!whyNot_.empty())
            stop();
    }
    ~CupsTestServer() { stop(); }

    static std::string SocketPath()
    {
        return "/tmp/lavodc-cups-" + std::to_string(getpid()) + "/cups.sock";
    }

    std::string start()
    {
        namespace fs = std::filesystem;
        for (const char* tool : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat", "/usr/lib/cups/backend/cups-pdf"})
            if (!fs::exists(tool))
                return std::string(tool) + " is missing (scripts/install-deps.sh installs cups and printer-driver-cups-pdf)";
        const fs::path ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
        if (!fs::exists(ppd))
            return ppd.string() + " is missing";
        if (geteuid() != 0)
            return "the CUPS-PDF backend runs only under a cupsd started as root";

        root_ = fs::path(socket_).parent_path();
        std::error_code ec;
        fs::remove_all(root_, ec);
        for (const char* sub : {"", "/conf", "/conf/ppd", "/spool", "/tmp", "/cache", "/state", "/out"})
            fs::create_directories(root_.string() + sub, ec);
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            chmod(entry.path().c_str(), 0755);
        chmod(root_.c_str(), 0755);
        chmod((root_ / "tmp").c_str(), 01777);

        // CUPS-PDF reads its settings only from /etc/cups; an instance of our own keeps ours apart.
        instance_ = "lavodctest" + std::to_string(getpid());
        instanceConf_ = "/etc/cups/cups-pdf-" + instance_ + ".conf";
        {
            std::ofstream conf(instanceConf_);
            conf << "Out " << OutFolder().string() << "\nAnonDirName " << OutFolder().string()
                 << "\nUserPrefix\nLabel 0\nLog " << (root_ / "cups-pdf-log").string() << "\n";
            if (!conf)
                return "cannot write " + instanceConf_ + " for the CUPS-PDF queue";
        }
        {
            std::ofstream cupsd(root_ / "cupsd.conf");
            cupsd << "Listen " << socket_ << "\nLogLevel info\nBrowsing No\nWebInterface No\n"
                  << "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                  << "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n";
            std::ofstream files(root_ / "cups-files.conf");
            files << "ServerRoot " << (root_ / "conf").string() << "\nRequestRoot " << (root_ / "spool").string()
                  << "\nTempDir " << (root_ / "tmp").string() << "\nCacheDir " << (root_ / "cache").string()
                  << "\nStateDir " << (root_ / "state").string() << "\nErrorLog " << (root_ / "error_log").string()
                  << "\nAccessLog " << (root_ / "access_log").string() << "\nPageLog " << (root_ / "page_log").string()
                  << "\nPrintcap " << (root_ / "printcap").string() << "\nSandboxing Relaxed\n";
        }

        daemon_ = fork();
        if (daemon_ < 0)
            return "cannot start cupsd";
        if (daemon_ == 0) {
            std::freopen((root_ / "cupsd.out").c_str(), "w", stdout);
            std::freopen((root_ / "cupsd.out").c_str(), "a", stderr);
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (root_ / "cupsd.conf").c_str(), "-s",
                  (root_ / "cups-files.conf").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (RunCommand(Env() + "lpstat -r").output.find("is running") == std::string::npos) {
            int status = 0;
            if (waitpid(daemon_, &status, WNOHANG) == daemon_) {
                daemon_ = -1;
                return "cupsd ended at once: " + readFile(root_ / "cupsd.out") + readFile(root_ / "error_log");
            }
            if (std::chrono::steady_clock::now() > deadline)
                return "cupsd did not answer on " + socket_;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        // The pdftops renderer keeps a landscape page landscape (turned by /Rotate) in the PDF.
        const CommandOutcome added =
            RunCommand(Env() + "lpadmin -p " + kQueue + " -E -v cups-pdf:/" + instance_ + " -P " + Quoted(ppd) +
                       " -o pdftops-renderer-default=pdftops");
        if (added.exitCode != 0)
            return "lpadmin could not add the queue: " + added.output;
        if (RunCommand(Env() + "lpadmin -d " + kQueue).exitCode != 0)
            return "lpadmin could not make the queue the default";
        return {};
    }

    void stop()
    {
        if (daemon_ > 0) {
            kill(daemon_, SIGTERM);
            int status = 0;
            waitpid(daemon_, &status, 0);
            daemon_ = -1;
        }
        std::error_code ec;
        if (!instanceConf_.empty())
            std::filesystem::remove(instanceConf_, ec);
        if (!root_.empty())
            std::filesystem::remove_all(root_, ec);
    }

    static std::string readFile(const std::filesystem::path& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string socket_;
    std::filesystem::path root_;
    std::string instance_;
    std::string instanceConf_;
    std::string whyNot_;
    pid_t daemon_ = -1;
};

// Skips the calling test, saying why, when the daemon cannot run on this machine.
#define LAVODC_REQUIRE_CUPS(server)                                                                                \
    do {                                                                                                           \
        if (!(server).Running())                                                                                   \
            GTEST_SKIP() << "no CUPS daemon of our own: " << (server).WhyNot();                                    \
    } while (false)

} // namespace lavodc::testing
