#include "bench/child_process.h"

#include "bench/bench_support.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tuvrel::bench {

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    lseek(fd, 0, SEEK_SET);
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    return text;
}

std::vector<std::string> environmentWith(const Environment& extra)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const auto& [key, value] : extra)
            replaced = replaced || key == name;
        if (!replaced)
            env.push_back(entry);
    }
    for (const auto& [key, value] : extra)
        env.push_back(key + "=" + value);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> p;
    for (std::string& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

}  // namespace

ChildRun runChild(const std::vector<std::string>& argvIn, const Environment& extra, int timeoutMs)
{
    ChildRun run;
    std::vector<std::string> argv = argvIn;
    std::vector<std::string> env = environmentWith(extra);
    std::vector<char*> argp = pointers(argv);
    std::vector<char*> envp = pointers(env);

    int reportPipe[2];
    if (pipe2(reportPipe, O_CLOEXEC) != 0) {
        run.diagnostics = std::string("pipe: ") + std::strerror(errno);
        return run;
    }
    FILE* errors = std::tmpfile();
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, devNull, 0);
    posix_spawn_file_actions_adddup2(&actions, devNull, 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(errors), 2);
    posix_spawn_file_actions_adddup2(&actions, reportPipe[1], 3);

    pid_t pid = -1;
    run.spawnedMs = monotonicMs();
    const int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(reportPipe[1]);
    close(devNull);
    if (spawned != 0) {
        close(reportPipe[0]);
        std::fclose(errors);
        run.diagnostics = argv[0] + ": " + std::strerror(spawned);
        return run;
    }

    // Read the report until the child closes its end, by exiting.
    const double deadline = monotonicMs() + timeoutMs;
    bool timedOut = false;
    for (;;) {
        const int left = int(deadline - monotonicMs());
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{reportPipe[0], POLLIN, 0};
        const int ready = poll(&p, 1, left);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char buffer[4096];
        const ssize_t n = read(reportPipe[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.report.append(buffer, size_t(n));
    }
    close(reportPipe[0]);
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.diagnostics = readAll(fileno(errors));
    std::fclose(errors);

    const bool exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.ok = !timedOut && exitedWell && !run.report.empty();
    if (timedOut)
        run.diagnostics += "timed out after " + std::to_string(timeoutMs / 1000) + " s\n";
    else if (!exitedWell)
        run.diagnostics += WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status)) + "\n"
                                               : "exit status " + std::to_string(WEXITSTATUS(status)) + "\n";
    else if (run.report.empty())
        run.diagnostics += "reported nothing\n";
    return run;
}

std::string reportValue(const std::string& report, const std::string& key)
{
    std::istringstream in(report);
    std::string word;
    while (in >> word)
        if (word.compare(0, key.size() + 1, key + "=") == 0)
            return word.substr(key.size() + 1);
    return {};
}

double reportNumber(const std::string& report, const std::string& key)
{
    const std::string value = reportValue(report, key);
    return value.empty() ? 0.0 : std::strtod(value.c_str(), nullptr);
}

}  // namespace tuvrel::bench
