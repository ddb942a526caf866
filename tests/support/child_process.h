// Running part of a test in a forked child process, for limits and changes
// of user that must not reach the test process itself. The child reports by
// its exit code.
#pragma once

#include <cstdint>
#include <functional>

// The exit code of a child that could not become an unprivileged user.
constexpr int ChildCannotDropPrivileges = 77;

// Runs `body` in a child process and returns its exit code (0..255); -1 when
// the child ended by a signal. The child ends with _exit(), so nothing of
// the test process (buffers, handlers) runs twice.
int runInChild(const std::function<int()>& body);

// In a child: files may grow to `bytes` at most, and a write beyond that
// fails with EFBIG instead of killing the process, as on a full disk.
void limitFileSize(std::int64_t bytes);

// In a child: becomes the unprivileged user and group 65534 when running as
// root, so that permissions apply; a user who is not root stays as is.
// False when the change failed.
bool becomeUnprivileged();

// True when the tests run as root, who can give files other owners.
bool runningAsRoot();
