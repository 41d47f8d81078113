// command_bench: the host program on a large feed, as a person runs it, against
// `xmllint --noout` on the same file measured in the same run: the wall time
// and peak memory of `newsdesk read FEED > FILE` (the JSON written included)
// and of `newsdesk format FEED`. Each command runs in a process of its own.
// Without xmllint (Debian package libxml2-utils) the comparison is skipped
// with a line that says so.
//
//   command_bench [--items N] [--runs R] [--dir FOLDER] [--program PATH]
#include "FeedGenerator.h"
#include "WorkFolder.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
    double seconds = 1e30;
    long peakKb = 0;
};

// Runs argv with its output to outputPath; false when it cannot be started
// or does not exit with 0.
bool runOnce(const std::vector<std::string>& argv, const std::string& outputPath, Run& run) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0) {
            ::_exit(126);
        }
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    run.seconds =
        std::min(run.seconds,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    run.peakKb = std::max(run.peakKb, usage.ru_maxrss);
    return true;
}

bool best(const std::vector<std::string>& argv, const std::string& outputPath, int runs, Run& run) {
    for (int i = 0; i < runs; ++i) {
        if (!runOnce(argv, outputPath, run)) {
            std::fprintf(stderr, "command_bench: %s failed\n", argv[0].c_str());
            return false;
        }
    }
    return true;
}

std::string onPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = std::min(dirs.find(':', start), dirs.size());
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t items = 100000;
    int runs = 3;
    std::string dir;
    std::string program =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "newsdesk").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--items") {
            items = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (arg == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (arg == "--dir") {
            dir = argv[i + 1];
        } else if (arg == "--program") {
            program = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: command_bench [--items N] [--runs R] [--dir FOLDER] "
                         "[--program PATH]\n");
            return 2;
        }
    }
    std::string xmllint = onPath("xmllint");
    if (xmllint.empty()) {
        std::printf(
            "command_bench: skipped: xmllint is not installed (Debian package "
            "libxml2-utils), so there is nothing to compare with\n");
        return 0;
    }
    newsdesk::bench::WorkFolder work;
    if (!work.open("command_bench", dir)) {
        return 1;
    }
    dir = work.path();
    std::string feed = dir + "/command_rss20.xml";
    std::string json = dir + "/command_rss20.json";
    std::string discard = dir + "/command_output.txt";
    if (!newsdesk::bench::writeFeedFile(feed, newsdesk::bench::FeedKind::Rss20, items)) {
        std::fprintf(stderr, "command_bench: cannot write the feed into %s\n", dir.c_str());
        return 1;
    }
    double mb = static_cast<double>(std::filesystem::file_size(feed)) / (1024.0 * 1024.0);
    Run lint;
    Run read;
    Run format;
    bool ok = best({xmllint, "--noout", feed}, discard, runs, lint) &&
              best({program, "read", feed}, json, runs, read) &&
              best({program, "format", feed}, discard, runs, format);
    if (ok) {
        double jsonMb = static_cast<double>(std::filesystem::file_size(json)) / (1024.0 * 1024.0);
        std::printf(
            "best of %d runs each; %zu items, %.1f MB; peak = the command's peak resident "
            "memory\n",
            runs, items, mb);
        std::printf("xmllint --noout      %6.3f s peak %5ld MB\n", lint.seconds,
                    lint.peakKb / 1024);
        std::printf(
            "newsdesk read > json %6.3f s peak %5ld MB (%.1f MB of JSON) | ratio %.2f time, %.2f "
            "memory\n",
            read.seconds, read.peakKb / 1024, jsonMb, read.seconds / lint.seconds,
            static_cast<double>(read.peakKb) / static_cast<double>(lint.peakKb));
        std::printf("newsdesk format      %6.3f s peak %5ld MB | ratio %.2f time, %.2f memory\n",
                    format.seconds, format.peakKb / 1024, format.seconds / lint.seconds,
                    static_cast<double>(format.peakKb) / static_cast<double>(lint.peakKb));
    }
    return ok ? 0 : 1;
}
