#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace {

// Both ends of a pipe, closed when the object goes.
struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        std::array<int, 2> ends{};
        if (::pipe2(ends.data(), O_CLOEXEC) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void closeRead() {
        if (read >= 0) {
            ::close(read);
            read = -1;
        }
    }
    void closeWrite() {
        if (write >= 0) {
            ::close(write);
            write = -1;
        }
    }
};

long long millisecondsNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// In the child: the pipes become standard output and error, standard input
// is empty, and the program replaces the child.
[[noreturn]] void becomeProgram(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::filesystem::path& folder,
                                const EnvironmentChanges& environment, int out, int err) {
    for (const auto& [name, value] : environment) {
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing < 0 || ::dup2(nothing, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
        ::chdir(folder.c_str()) != 0) {
        ::_exit(127);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

// Reads both pipes until the program closes them or the time is up; false
// when the time ran out.
bool collectOutput(Pipe& out, Pipe& err, ProgramRun& run, long long deadline) {
    std::array<char, 65536> buffer{};
    while (out.read >= 0 || err.read >= 0) {
        const long long left = deadline - millisecondsNow();
        if (left <= 0) {
            return false;
        }
        std::array<pollfd, 2> watched{{{out.read, POLLIN, 0}, {err.read, POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), static_cast<int>(left)) < 0 && errno != EINTR) {
            return false;
        }
        for (std::size_t i = 0; i < watched.size(); ++i) {
            Pipe& pipe = i == 0 ? out : err;
            if (pipe.read < 0 || watched[i].revents == 0) {
                continue;
            }
            const ssize_t got = ::read(pipe.read, buffer.data(), buffer.size());
            if (got > 0) {
                (i == 0 ? run.out : run.err).append(buffer.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                pipe.closeRead();
            }
        }
    }
    return true;
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& folder, int seconds,
                      const EnvironmentChanges& environment) {
    ProgramRun run;
    Pipe out;
    Pipe err;
    if (out.read < 0 || err.read < 0) {
        return run;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return run;
    }
    if (child == 0) {
        becomeProgram(program, arguments, folder, environment, out.write, err.write);
    }
    out.closeWrite();
    err.closeWrite();
    const bool finished = collectOutput(out, err, run, millisecondsNow() + 1000LL * seconds);
    if (!finished) {
        ::kill(child, SIGKILL);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.exitCode = finished && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
