// Preloaded into Wine: makes a pseudo-terminal look like a quiet serial port and hides the
// machine's own serial ports.
//
// Wine watches a port's modem lines, error counters and line status with TIOCMGET, TIOCGICOUNT
// and TIOCSERGETLSR. A pty refuses all three, so a port event wait ends at once instead of
// pending. For pty slaves this library answers them as an idle UART would. The error counters
// can be raised from outside through the file named by WMX_PTY_RIG_CONTROL ("frame N",
// "overrun N", "parity N", "brk N"), since a pty never sees a line error; "refuse 1" there makes
// every one of these requests (and TIOCOUTQ) fail, as on a port whose driver is broken.
// "write zero" makes every write to a pty slave write nothing and report 0 bytes (Wine then keeps
// the WriteFile call pending and retries it), and "write hang" blocks the write until the
// control file no longer says so (then it fails if its descriptor was closed meanwhile).
// "purge hang" blocks a flush of a pty slave's queues (PurgeComm) the same way.
//
// Wine asks for the line status about every millisecond while a port event wait is pending, so
// the control file is read again only when it has changed (a stat each time: a test's change takes
// effect at the next request).
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
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

// Unix98 pty slaves use majors 136 to 143.
static int is_pty_slave(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
           major(st.st_rdev) <= 143;
}

enum write_mode { write_normal, write_zero, write_hang };

struct rig_control {
    struct serial_icounter_struct counts;
    int refuse_status; // "refuse 1": the port refuses every status request, as a broken driver
    enum write_mode write;
    int purge_hang; // "purge hang": a flush of the queues blocks, as a driver that never answers
};

static void parse_control(FILE* control, struct rig_control* rig) {
    struct serial_icounter_struct* counts = &rig->counts;
    char name[16], value[16];
    while (fscanf(control, "%15s %15s", name, value) == 2) {
        if (strcmp(name, "write") == 0)
            rig->write = strcmp(value, "zero") == 0   ? write_zero
                         : strcmp(value, "hang") == 0 ? write_hang
                                                      : write_normal;
        else if (strcmp(name, "purge") == 0)
            rig->purge_hang = strcmp(value, "hang") == 0;
        else if (strcmp(name, "refuse") == 0)
            rig->refuse_status = atoi(value);
        else if (strcmp(name, "frame") == 0)
            counts->frame = atoi(value);
        else if (strcmp(name, "overrun") == 0)
            counts->overrun = atoi(value);
        else if (strcmp(name, "parity") == 0)
            counts->parity = atoi(value);
        else if (strcmp(name, "brk") == 0)
            counts->brk = atoi(value);
    }
}

static pthread_mutex_t control_lock = PTHREAD_MUTEX_INITIALIZER;
static struct rig_control cached_control;
static struct stat cached_stat; // st_ino 0: no control file seen

static int same_file_state(const struct stat* a, const struct stat* b) {
    return a->st_ino == b->st_ino && a->st_size == b->st_size &&
           a->st_mtim.tv_sec == b->st_mtim.tv_sec && a->st_mtim.tv_nsec == b->st_mtim.tv_nsec;
}

// Never waits for the lock: a signal handler of Wine's may write while its thread holds it, and
// then the last state read serves.
static void read_control(struct rig_control* rig) {
    if (pthread_mutex_trylock(&control_lock) != 0) {
        *rig = cached_control;
        return;
    }
    const char* path = getenv("WMX_PTY_RIG_CONTROL");
    if (path && *path) {
        struct stat now;
        if (stat(path, &now) != 0) {
            memset(&cached_control, 0, sizeof cached_control);
            memset(&cached_stat, 0, sizeof cached_stat);
        } else if (!same_file_state(&now, &cached_stat)) {
            FILE* control = fopen(path, "r");
            memset(&cached_control, 0, sizeof cached_control);
            if (control) {
                parse_control(control, &cached_control);
                fclose(control);
            }
            cached_stat = now;
        }
    }
    *rig = cached_control;
    pthread_mutex_unlock(&control_lock);
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

// Counts the closes of each descriptor number, so that a held call can tell its descriptor from a
// later open that got the same number (of the same pty, say).
#define TRACKED_DESCRIPTORS 4096
static unsigned close_count[TRACKED_DESCRIPTORS];

static unsigned closes_of(int fd) {
    return fd >= 0 && fd < TRACKED_DESCRIPTORS ? __atomic_load_n(&close_count[fd], __ATOMIC_SEQ_CST)
                                               : 0;
}

int close(int fd) {
    // Looked up once, as write is.
    static int (*real)(int);
    if (!real)
        real = dlsym(RTLD_NEXT, "close");
    if (fd >= 0 && fd < TRACKED_DESCRIPTORS)
        __atomic_add_fetch(&close_count[fd], 1, __ATOMIC_SEQ_CST);
    return real(fd);
}

static int write_held(const struct rig_control* rig) {
    return rig->write == write_hang;
}

static int purge_held(const struct rig_control* rig) {
    return rig->purge_hang;
}

// Holds a call while the control file says so (held). Returns 0 when it may go on, -1 when its
// descriptor was closed meanwhile.
static int hold_while(int fd, int (*held)(const struct rig_control*)) {
    const unsigned closes = closes_of(fd);
    const struct timespec pause = {0, 20 * 1000 * 1000};
    struct rig_control rig;
    do {
        nanosleep(&pause, NULL);
        read_control(&rig);
    } while (held(&rig));
    return closes_of(fd) == closes ? 0 : -1;
}

ssize_t write(int fd, const void* buffer, size_t count) {
    // Looked up once: a signal handler of Wine's may write while its thread is inside dlsym.
    static ssize_t (*real)(int, const void*, size_t);
    if (!real)
        real = dlsym(RTLD_NEXT, "write");
    // Only writes to a pty look at the control file: the rig's cost stays off every other write.
    if (count > 0 && is_pty_slave(fd)) {
        struct rig_control rig;
        read_control(&rig);
        if (rig.write == write_zero)
            return 0;
        if (write_held(&rig) && hold_while(fd, write_held) != 0) {
            errno = EBADF;
            return -1;
        }
    }
    return real(fd, buffer, count);
}

int tcflush(int fd, int queue) {
    if (is_pty_slave(fd)) {
        struct rig_control rig;
        read_control(&rig);
        if (purge_held(&rig) && hold_while(fd, purge_held) != 0) {
            errno = EBADF;
            return -1;
        }
    }
    int (*real)(int, int) = dlsym(RTLD_NEXT, "tcflush");
    return real(fd, queue);
}

static int is_machine_serial_port(const char* path) {
    return strncmp(path, "/dev/ttyS", 9) == 0;
}

// Wine looks for serial ports with access() and opens a mapped one with open() (64-bit Wine) or
// open64() (32-bit Wine); every name either libc gives these calls is wrapped.
int access(const char* path, int mode) {
    if (is_machine_serial_port(path)) {
        errno = ENOENT;
        return -1;
    }
    int (*real)(const char*, int) = dlsym(RTLD_NEXT, "access");
    return real(path, mode);
}

typedef int (*open_fn)(const char*, int, ...);
typedef int (*openat_fn)(int, const char*, int, ...);

// A Windows port opened without sharing is the caller's alone; a pty is not, so the lock makes a
// second open fail as it would on Windows.
static int exclusive_if_pty(int fd) {
    if (fd >= 0 && is_pty_slave(fd) && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        errno = EBUSY;
        return -1;
    }
    return fd;
}

#define OPEN_MODE(flags, mode)                                                                     \
    mode_t mode = 0;                                                                               \
    if ((flags) & (O_CREAT | O_TMPFILE)) {                                                         \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        mode = va_arg(args, mode_t);                                                               \
        va_end(args);                                                                              \
    }

static int guarded_open(const char* name, const char* path, int flags, mode_t mode) {
    if (is_machine_serial_port(path)) {
        errno = ENOENT;
        return -1;
    }
    open_fn real = (open_fn)dlsym(RTLD_NEXT, name);
    return exclusive_if_pty(real(path, flags, mode));
}

static int guarded_openat(const char* name, int dir, const char* path, int flags, mode_t mode) {
    if (is_machine_serial_port(path)) {
        errno = ENOENT;
        return -1;
    }
    openat_fn real = (openat_fn)dlsym(RTLD_NEXT, name);
    return exclusive_if_pty(real(dir, path, flags, mode));
}

int open(const char* path, int flags, ...) {
    OPEN_MODE(flags, mode)
    return guarded_open("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    OPEN_MODE(flags, mode)
    return guarded_open("open64", path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    OPEN_MODE(flags, mode)
    return guarded_openat("openat", dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
    OPEN_MODE(flags, mode)
    return guarded_openat("openat64", dir, path, flags, mode);
}

// The project's scripts start every Wine process with WINEPREFIX naming a folder that cannot
// exist, and the real prefix in WMX_WINEPREFIX: only a process that has loaded this library
// finds its prefix. A process where the loader dropped the library (one of the other width, say)
// stops at once instead of running with the machine's own serial ports in reach.
__attribute__((constructor)) static void give_the_prefix(void) {
    const char* prefix = getenv("WMX_WINEPREFIX");
    if (prefix && *prefix)
        setenv("WINEPREFIX", prefix, 1);
}
