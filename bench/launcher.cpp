// Times programs from process start to their first painted frame.
//
//   dilmora-bench-launch [cold] <runs> <label>=<program>[,<argument>] ...
//
// Each run starts every program once, in turn, so that the programs share
// whatever else the machine is doing. With "cold", the kernel's page cache
// is dropped before every start, as after a boot: the program, Qt, the
// fonts and the plugins all come from the disk again. That needs root.
//
// The clock starts just before the fork and stops when the program's "frame"
// line arrives on the pipe that is its standard output. One warm-up run of
// each program is not counted. Prints, per program:
// "startup <label> <median ms> <min ms> <max ms> <runs>".
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string label;
    std::string path;
    std::string extra; ///< An argument after "startup", or empty.
    std::vector<double> times;
};

/// Starts `path startup [extra]`, waits for its "frame" line and for it to
/// exit; returns the milliseconds to the line, or a negative number on failure.
double timeOnce(const std::string& path, const std::string& extra)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    std::string mode = "startup";
    std::string argument = extra;
    char* argv[] = {const_cast<char*>(path.c_str()), mode.data(),
                    extra.empty() ? nullptr : argument.data(), nullptr};

    pid_t child = 0;
    const Clock::time_point start = Clock::now();
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), std::strerror(spawned));
        return -1;
    }

    std::string received;
    double elapsed = -1;
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
        pollfd fd{out[0], POLLIN, 0};
        const int ready = poll(&fd, 1, 100);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        char buffer[256];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(n));
        if (received.find("frame\n") != std::string::npos) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    close(out[0]);
    if (elapsed < 0) {
        std::fprintf(stderr, "%s reported no frame\n", path.c_str());
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return elapsed;
}

/// Writes back and drops the page cache; false, with the reason on stderr, when it cannot.
bool dropPageCache()
{
    sync();
    std::FILE* control = std::fopen("/proc/sys/vm/drop_caches", "w");
    if (!control || std::fputs("3\n", control) < 0 || std::fclose(control) != 0) {
        std::fprintf(stderr,
                     "a cold start drops the page cache, which needs root: "
                     "cannot write /proc/sys/vm/drop_caches: %s\n",
                     std::strerror(errno));
        return false;
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const bool cold = argc > 1 && std::strcmp(argv[1], "cold") == 0;
    const int first = cold ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: %s [cold] <runs> <label>=<program> ...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[first]);
    std::vector<Program> programs;
    for (int i = first + 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || runs < 1) {
            std::fprintf(stderr, "bad argument: %s\n", argv[i]);
            return 2;
        }
        const std::string command = arg.substr(eq + 1);
        const std::size_t comma = command.find(',');
        programs.push_back({arg.substr(0, eq),
                            command.substr(0, comma),
                            comma == std::string::npos ? std::string() : command.substr(comma + 1),
                            {}});
    }

    for (Program& program : programs) {
        if ((cold && !dropPageCache()) || timeOnce(program.path, program.extra) < 0)
            return 1;
    }
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            if (cold && !dropPageCache())
                return 1;
            const double ms = timeOnce(program.path, program.extra);
            if (ms < 0)
                return 1;
            program.times.push_back(ms);
        }
    }
    for (const Program& program : programs) {
        const auto [low, high] = std::minmax_element(program.times.begin(), program.times.end());
        std::printf("startup %s %.2f %.2f %.2f %d\n", program.label.c_str(), median(program.times),
                    *low, *high, runs);
    }
    return 0;
}
