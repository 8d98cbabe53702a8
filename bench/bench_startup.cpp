// Start-up as the learner feels it: from starting the process to the first
// painted window, and the peak memory by then. The program is measured next
// to a bare Qt Widgets window in the same run, so the numbers say how much
// of the start-up is the program's own; on Qt's default offscreen screen
// (800×600) and on a 1920×1080 one at one and two device pixels per pixel,
// where the window fits itself to the larger screen.
#include "Screens.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Launch {
    bool ok = false;
    double seconds = 0; // process start to the line after the first paint
    double peakKb = 0;  // VmHWM the program read from /proc/self/status
    std::string error;
};

// Starts the program with SOREMUKA_EXIT_AFTER_PAINT=1 in an empty folder and
// waits for the line it prints after its first paint.
Launch launchUntilPainted(const char *program, const char *folder, const benchscreens::Environment &screens)
{
    Launch result;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        result.error = "pipe";
        return result;
    }
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (std::strncmp(*e, "SOREMUKA_EXIT_AFTER_PAINT=", 26) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0
            && std::strncmp(*e, "QT_SCREEN_SCALE_FACTORS=", 24) != 0)
            env.emplace_back(*e);
    env.emplace_back("SOREMUKA_EXIT_AFTER_PAINT=1");
    env.emplace_back("QT_QPA_PLATFORM=" + screens.platform.toStdString());
    if (!screens.scaleFactors.isEmpty())
        env.emplace_back("QT_SCREEN_SCALE_FACTORS=" + screens.scaleFactors.toStdString());
    std::vector<char *> envp;
    for (std::string &s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder);
    char *argv[] = {const_cast<char *>(program), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        result.error = std::string("cannot start ") + program;
        return result;
    }

    std::string line;
    bool timedOut = false;
    while (line.find('\n') == std::string::npos) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, 30000) <= 0) {
            timedOut = true;
            break;
        }
        char buf[256];
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0)
            break;
        line.append(buf, size_t(n));
    }
    const auto painted = std::chrono::steady_clock::now();
    close(out[0]);
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    const std::string tag = "painted VmHWM ";
    const size_t at = line.find(tag);
    if (at == std::string::npos) {
        result.error = timedOut ? "no paint within 30 s" : "exited without painting: " + line;
        return result;
    }
    result.ok = true;
    result.seconds = std::chrono::duration<double>(painted - start).count();
    result.peakKb = std::atof(line.c_str() + at + tag.size());
    return result;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Each iteration starts the bare window and the program one after the
// other, in turns (the bare window first in even iterations), so that both
// meet the same state of the machine: run in two blocks, a busy moment in
// one block made the ratio swing by a tenth. The iteration's time is the
// program's; the counters give both medians and their ratios.
void BM_StartUpAgainstBareWindow(benchmark::State &state, double ratio)
{
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString();
    // Ratio 0: Qt's default offscreen screen.
    const benchscreens::Environment screens =
        ratio > 0 ? benchscreens::environmentFor(folder.filePath(QStringLiteral("screen.json")), {ratio})
                  : benchscreens::Environment{"offscreen", ""};
    std::vector<double> times, bareTimes, peaks, barePeaks;
    int turn = 0;
    for (auto _ : state) {
        Launch program, bare;
        if (turn++ % 2 == 0) {
            bare = launchUntilPainted(SOREMUKA_BARE, path.c_str(), screens);
            program = launchUntilPainted(SOREMUKA_PROGRAM, path.c_str(), screens);
        } else {
            program = launchUntilPainted(SOREMUKA_PROGRAM, path.c_str(), screens);
            bare = launchUntilPainted(SOREMUKA_BARE, path.c_str(), screens);
        }
        if (!program.ok || !bare.ok) {
            state.SkipWithError((program.ok ? bare : program).error.c_str());
            break;
        }
        state.SetIterationTime(program.seconds);
        times.push_back(program.seconds * 1000);
        bareTimes.push_back(bare.seconds * 1000);
        peaks.push_back(program.peakKb);
        barePeaks.push_back(bare.peakKb);
    }
    if (times.empty())
        return;
    state.counters["median_ms"] = median(times);
    state.counters["bare_median_ms"] = median(bareTimes);
    state.counters["time_ratio"] = median(times) / median(bareTimes);
    state.counters["peak_kB"] = median(peaks);
    state.counters["bare_peak_kB"] = median(barePeaks);
    state.counters["peak_ratio"] = median(peaks) / median(barePeaks);
}

} // namespace

// The targets: start-up within 1.3 times the bare window's, peak memory
// within 1.2 times.
BENCHMARK_CAPTURE(BM_StartUpAgainstBareWindow, 800x600, 0.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);
BENCHMARK_CAPTURE(BM_StartUpAgainstBareWindow, 1920x1080_1x, 1.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);
BENCHMARK_CAPTURE(BM_StartUpAgainstBareWindow, 1920x1080_2x, 2.0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);
