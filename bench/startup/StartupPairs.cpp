// Times two programs from exec to their first painted frame, interleaved (A B A B ...), each
// started the same way: the runner's environment plus ORVANEL_FIRST_FRAME_EXIT=1, standard output
// read for the "first-frame <ns>" line (FirstFrameReport), peak resident memory taken from wait4
// as GNU time takes it. Prints each program's median, the median of the paired ratios A / B with
// the run count, and the exact commands.
//   startup-pairs <runs> <command A> <command B>     (each command one shell-free word list in quotes)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Start {
    double ms = 0; // exec to the first painted frame
    double peakMiB = 0;
};

std::vector<std::string> Words(const std::string& command)
{
    std::istringstream in(command);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

long long MonotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::optional<Start> StartOnce(const std::vector<std::string>& words)
{
    int out[2];
    if (pipe(out) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const long long started = MonotonicNs();
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return std::nullopt;
    }
    std::string text;
    char buffer[256];
    for (ssize_t n = 0; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    const size_t at = text.find("first-frame ");
    if (at == std::string::npos)
        return std::nullopt;
    const long long frame = std::atoll(text.c_str() + at + 12);
    return Start { static_cast<double>(frame - started) / 1e6,
        static_cast<double>(usage.ru_maxrss) / 1024.0 };
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <runs> <command A> <command B>\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::vector<std::string> a = Words(argv[2]);
    const std::vector<std::string> b = Words(argv[3]);
    setenv("ORVANEL_FIRST_FRAME_EXIT", "1", 1);
    std::vector<double> msA, msB, ratios, memA, memB;
    StartOnce(a); // one start each first, so that both programs' files are in the page cache
    StartOnce(b);
    for (int i = 0; i < runs; ++i) {
        const std::optional<Start> first = StartOnce(a);
        const std::optional<Start> second = StartOnce(b);
        if (!first || !second) {
            std::fprintf(stderr, "a start gave no first-frame line (is there a display?)\n");
            return 1;
        }
        msA.push_back(first->ms);
        msB.push_back(second->ms);
        ratios.push_back(first->ms / second->ms);
        memA.push_back(first->peakMiB);
        memB.push_back(second->peakMiB);
    }
    std::printf("exec to first painted frame, %d interleaved pairs (A B A B ...)\n", runs);
    std::printf("  A: %s\n  B: %s\n", argv[2], argv[3]);
    std::printf("  median A %.1f ms, B %.1f ms; median of paired ratios A/B %.3f\n", Median(msA), Median(msB),
        Median(ratios));
    std::printf(
        "  peak resident (wait4, as GNU time): median A %.1f MiB, B %.1f MiB\n", Median(memA), Median(memB));
    return 0;
}
