#include "MeterLine.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

static void Fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

static void MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        Fail("tcgetattr");
    cfmakeraw(&settings);
    if (tcsetattr(fd, TCSANOW, &settings) != 0)
        Fail("tcsetattr");
}

// Runs in the keeper process: takes the slave as controlling terminal, then waits for the end.
[[noreturn]] static void KeepSlave(const std::string& slave, int pipeEnd) {
    setsid();
    signal(SIGHUP, SIG_IGN);
    int fd = open(slave.c_str(), O_RDWR);
    char byte;
    while (fd >= 0 && read(pipeEnd, &byte, 1) < 0 && errno == EINTR) {
    }
    _exit(0);
}

MeterLine::MeterLine(const std::string& LinkPath) {
    MasterFd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (MasterFd < 0 || grantpt(MasterFd) != 0 || unlockpt(MasterFd) != 0)
        Fail("posix_openpt");
    Slave = ptsname(MasterFd);
    MakeRaw(MasterFd);
    SlaveFd = open(Slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (SlaveFd < 0)
        Fail("open pty slave");
    MakeRaw(SlaveFd);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        Fail("pipe");
    Keeper = fork();
    if (Keeper < 0)
        Fail("fork");
    if (Keeper == 0) {
        // Only the pipe's read end stays open: the keeper must not hold this or an earlier
        // master, or a hang-up would never reach the program.
        dup2(pipeFds[0], STDIN_FILENO);
        close_range(STDERR_FILENO + 1, ~0U, 0);
        KeepSlave(Slave, STDIN_FILENO);
    }
    close(pipeFds[0]);
    KeeperPipe = pipeFds[1];

    // Replace the link in one step, so that an open through it never finds it missing.
    std::string temporary = LinkPath + ".new";
    unlink(temporary.c_str());
    if (symlink(Slave.c_str(), temporary.c_str()) != 0 ||
        rename(temporary.c_str(), LinkPath.c_str()) != 0)
        Fail("link");
}

MeterLine::~MeterLine() {
    close(MasterFd);
    close(SlaveFd);
    close(KeeperPipe);
    waitpid(Keeper, nullptr, 0);
}
