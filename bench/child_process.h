#pragma once
// Runs another process for one measurement: it reports on file descriptor 3,
// its output is kept aside and shown only when it fails.
#include <string>
#include <utility>
#include <vector>

namespace tuvrel::bench {

struct ChildRun {
    bool ok = false;          // exited with 0 and reported something, in time
    double spawnedMs = 0;     // monotonicMs() just before the process was made
    std::string report;       // what it wrote on descriptor 3
    std::string diagnostics;  // its stderr, and why it failed
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// argv[0] is the path of the program. The environment is this process's with
// the given variables set.
ChildRun runChild(const std::vector<std::string>& argv, const Environment& extra, int timeoutMs);

// "key=value" words of a report line.
std::string reportValue(const std::string& report, const std::string& key);
double reportNumber(const std::string& report, const std::string& key);

}  // namespace tuvrel::bench
