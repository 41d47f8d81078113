// Runs work in a child process whose files cannot grow past a few bytes, as
// on a full disk: a write fails there whoever runs the tests (permissions do
// not bind the superuser, this limit does). Gives work's result, or -1 when
// the child did not end normally.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

template <typename Work>
int onFullDisk(Work work) {
    pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            16, 16
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(static_cast<int>(work()));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}
