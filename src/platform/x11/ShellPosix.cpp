// Shell requests on Linux: xdg-open, started without waiting for it. It runs in a session of
// its own with default signal handling, so the host's signal setup neither leaks into it nor
// kills it with the host. Children are reaped without blocking at the next request; a host
// that ignores SIGCHLD or reaps every child itself makes that a no-op.
#include "platform/Window.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

extern char** environ;

namespace ostinel::platform {

namespace {

struct Children {
    std::mutex mutex;
    std::vector<pid_t> pids;
};

Children& Started() {
    static Children children;
    return children;
}

void ReapFinished(Children& children) {
    std::erase_if(children.pids, [](pid_t pid) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        return r == pid || (r < 0 && errno == ECHILD);
    });
}

bool Spawn(const std::string& target) {
    if (target.empty()) {
        return false;
    }
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) {
        return false;
    }
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string program = "xdg-open";
    // A relative name that looks like an option stays a name.
    std::string argument = target.front() == '-' ? "./" + target : target;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);

    Children& children = Started();
    std::lock_guard lock(children.mutex);
    ReapFinished(children);
    if (rc != 0) {
        return false;
    }
    children.pids.push_back(pid);
    return true;
}

} // namespace

bool ShellOpen(const std::string& file) {
    return Spawn(file);
}

bool ShowFolderInExplorer(const std::string& folder) {
    return Spawn(folder);
}

} // namespace ostinel::platform
