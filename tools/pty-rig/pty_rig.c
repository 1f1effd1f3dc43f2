// Preloaded into Wine: makes a pseudo-terminal look like a quiet serial port and hides the
// machine's own serial ports.
//
// Wine watches a port's modem lines, error counters and line status with TIOCMGET, TIOCGICOUNT
// and TIOCSERGETLSR. A pty refuses all three, so a port event wait ends at once instead of
// pending. For pty slaves this library answers them as an idle UART would. The error counters
// can be raised from outside through the file named by WMX_PTY_RIG_CONTROL ("frame N",
// "overrun N", "parity N", "brk N"), since a pty never sees a line error; "refuse 1" there makes
// every one of these requests (and TIOCOUTQ) fail, as on a port whose driver is broken.
//
// Opens of a pty slave are exclusive, as a Windows port opened without sharing is.
//
// /dev/ttyS* are the machine's own ports (the first is its console): they are reported absent,
// so Wine neither maps a COM name to them nor opens them.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

// Unix98 pty slaves use majors 136 to 143.
static int is_pty_slave(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
           major(st.st_rdev) <= 143;
}

struct rig_control {
    struct serial_icounter_struct counts;
    int refuse_status; // "refuse 1": the port refuses every status request, as a broken driver
};

static void read_control(struct rig_control* rig) {
    memset(rig, 0, sizeof *rig);
    const char* path = getenv("WMX_PTY_RIG_CONTROL");
    if (!path || !*path)
        return;
    FILE* control = fopen(path, "r");
    if (!control)
        return;
    struct serial_icounter_struct* counts = &rig->counts;
    char name[16];
    int value;
    while (fscanf(control, "%15s %d", name, &value) == 2) {
        if (strcmp(name, "refuse") == 0)
            rig->refuse_status = value;
        else if (strcmp(name, "frame") == 0)
            counts->frame = value;
        else if (strcmp(name, "overrun") == 0)
            counts->overrun = value;
        else if (strcmp(name, "parity") == 0)
            counts->parity = value;
        else if (strcmp(name, "brk") == 0)
            counts->brk = value;
    }
    fclose(control);
}

// Returns 1 when the request was answered for a pty slave, with *result its result.
static int answer_as_uart(int fd, unsigned long request, void* arg, int* result) {
    if (request != TIOCMGET && request != TIOCGICOUNT && request != TIOCSERGETLSR &&
        request != TIOCOUTQ)
        return 0;
    if (!is_pty_slave(fd))
        return 0;
    struct rig_control rig;
    read_control(&rig);
    if (rig.refuse_status) {
        errno = EIO;
        *result = -1;
        return 1;
    }
    if (request == TIOCOUTQ)
        return 0;
    *result = 0;
    if (request == TIOCMGET) {
        *(int*)arg = TIOCM_DTR | TIOCM_RTS | TIOCM_CTS | TIOCM_DSR | TIOCM_CAR;
    } else if (request == TIOCGICOUNT) {
        *(struct serial_icounter_struct*)arg = rig.counts;
    } else {
        *(unsigned int*)arg = TIOCSER_TEMT;
    }
    return 1;
}

typedef int (*ioctl_fn)(int, unsigned long, ...);

static int forward_ioctl(const char* name, int fd, unsigned long request, void* arg) {
    int result;
    if (answer_as_uart(fd, request, arg, &result))
        return result;
    ioctl_fn real = (ioctl_fn)dlsym(RTLD_NEXT, name);
    return real(fd, request, arg);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return forward_ioctl("ioctl", fd, request, arg);
}

int __ioctl_time64(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return forward_ioctl("__ioctl_time64", fd, request, arg);
}

static int is_machine_serial_port(const char* path) {
    return strncmp(path, "/dev/ttyS", 9) == 0;
}

// Wine looks for serial ports with access() and opens a mapped one with open64().
int access(const char* path, int mode) {
    if (is_machine_serial_port(path)) {
        errno = ENOENT;
        return -1;
    }
    int (*real)(const char*, int) = dlsym(RTLD_NEXT, "access");
    return real(path, mode);
}

int open64(const char* path, int flags, ...) {
    if (is_machine_serial_port(path)) {
        errno = ENOENT;
        return -1;
    }
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    int (*real)(const char*, int, ...) = dlsym(RTLD_NEXT, "open64");
    int fd = real(path, flags, mode);
    // A Windows port opened without sharing is the caller's alone; a pty is not, so the lock
    // makes a second open fail as it would on Windows.
    if (fd >= 0 && is_pty_slave(fd) && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        errno = EBUSY;
        return -1;
    }
    return fd;
}
