// One pseudo-terminal served under a symbolic link, as a serial line the program opens.
#pragma once
#include <string>
#include <sys/types.h>

class MeterLine {
  public:
    // Creates the pty in raw mode and points LinkPath at its slave.
    explicit MeterLine(const std::string& LinkPath);
    // Closes the master: the program sees its line hung up.
    ~MeterLine();
    MeterLine(const MeterLine&) = delete;
    MeterLine& operator=(const MeterLine&) = delete;

    int Master() const { return MasterFd; }
    const std::string& SlavePath() const { return Slave; }

  private:
    int MasterFd = -1;
    std::string Slave;
    // Held open so that the master never reads "other side closed" between the program's opens.
    int SlaveFd = -1;
    // A process of its own holds the slave as its controlling terminal, so that no other
    // session (a Wine server, say) adopts it and gets SIGHUP when the line hangs up. It ends when
    // KeeperPipe closes.
    pid_t Keeper = -1;
    int KeeperPipe = -1;
};
