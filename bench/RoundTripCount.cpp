// A preload that counts a process's round trips to its database server: a round trip begins
// with the first bytes sent on a TCP socket after bytes were received (or the first ever), so
// requests the client packs together count once, as they cross the wire once. The count is
// kept in the 8-byte file named by ROUND_TRIPS_FILE, which a script reads while the process
// runs. Unix sockets (the display, the sound server) are not counted. With ROUND_TRIPS_TRACE
// naming a file, each round trip appends a line to it: the monotonic time and the call stack
// that began it as "module+offset" frames, which scripts/round-trips names (which call of the
// program each one was: a prepare, an open, a commit...). With ROUND_TRIPS_TIMES naming a file,
// each round trip appends its wall-clock time there, "seconds.milliseconds" a line, for
// scripts/bench to tell which poll each belongs to.
//
//   LD_PRELOAD=build/bench/libround_trip_count.so ROUND_TRIPS_FILE=/tmp/rt program

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

namespace {
std::atomic<uint64_t>* counter;
std::atomic<bool> received{true}; // the first send starts a round trip
int traceFd = -1;
int timesFd = -1;

__attribute__((constructor)) void setUp()
{
    const char* path = getenv("ROUND_TRIPS_FILE");
    if (!path)
        return;
    int fd = open(path, O_RDWR | O_CREAT, 0644);
    if (fd < 0)
        return;
    if (ftruncate(fd, sizeof(uint64_t)) == 0) {
        void* p = mmap(NULL, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (p != MAP_FAILED)
            counter = static_cast<std::atomic<uint64_t>*>(p);
    }
    close(fd);
    if (const char* trace = getenv("ROUND_TRIPS_TRACE"))
        traceFd = open(trace, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (const char* times = getenv("ROUND_TRIPS_TIMES"))
        timesFd = open(times, O_WRONLY | O_CREAT | O_APPEND, 0644);
}

void stamp()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    char line[32];
    const int n = snprintf(line, sizeof line, "%lld.%03ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec / 1000000);
    static auto* put = reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(dlsym(RTLD_NEXT, "write"));
    put(timesFd, line, size_t(n));
}

// The frames as module+offset, so that a position-independent program's are named after the run.
void trace()
{
    void* frames[48];
    const int n = backtrace(frames, 48);
    char line[48 * 160];
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    size_t used = size_t(snprintf(line, 32, "%lld.%03ld ", static_cast<long long>(now.tv_sec), now.tv_nsec / 1000000));
    for (int i = 2; i < n && used + 160 < sizeof line; ++i) {
        Dl_info info{};
        if (dladdr(frames[i], &info) && info.dli_fname)
            used += size_t(snprintf(line + used, 160, "%s+0x%lx ", info.dli_fname,
                                    static_cast<unsigned long>(static_cast<char*>(frames[i]) - static_cast<char*>(info.dli_fbase) - 1)));
    }
    line[used++] = '\n';
    static auto* put = reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(dlsym(RTLD_NEXT, "write"));
    put(traceFd, line, used);
}

bool inet(int fd)
{
    const int saved = errno;
    sockaddr_storage a{};
    socklen_t len = sizeof a;
    const bool yes = getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0
                     && (a.ss_family == AF_INET || a.ss_family == AF_INET6);
    errno = saved;
    return yes;
}

void sent(int fd, ssize_t n)
{
    if (n > 0 && counter && inet(fd) && received.exchange(false)) {
        counter->fetch_add(1);
        if (traceFd >= 0)
            trace();
        if (timesFd >= 0)
            stamp();
    }
}

void got(int fd, ssize_t n)
{
    if (n > 0 && counter && inet(fd))
        received = true;
}
}

#define NEXT(name) static auto* next = reinterpret_cast<decltype(&::name)>(dlsym(RTLD_NEXT, #name))

extern "C" {

ssize_t send(int fd, const void* buf, size_t len, int flags)
{
    NEXT(send);
    ssize_t n = next(fd, buf, len, flags);
    sent(fd, n);
    return n;
}

ssize_t sendto(int fd, const void* buf, size_t len, int flags, const struct sockaddr* to, socklen_t tolen)
{
    NEXT(sendto);
    ssize_t n = next(fd, buf, len, flags, to, tolen);
    sent(fd, n);
    return n;
}

ssize_t sendmsg(int fd, const struct msghdr* msg, int flags)
{
    NEXT(sendmsg);
    ssize_t n = next(fd, msg, flags);
    sent(fd, n);
    return n;
}

ssize_t write(int fd, const void* buf, size_t len)
{
    NEXT(write);
    ssize_t n = next(fd, buf, len);
    if (counter)
        sent(fd, n);
    return n;
}

ssize_t writev(int fd, const struct iovec* iov, int count)
{
    NEXT(writev);
    ssize_t n = next(fd, iov, count);
    if (counter)
        sent(fd, n);
    return n;
}

ssize_t recv(int fd, void* buf, size_t len, int flags)
{
    NEXT(recv);
    ssize_t n = next(fd, buf, len, flags);
    got(fd, n);
    return n;
}

ssize_t recvfrom(int fd, void* buf, size_t len, int flags, struct sockaddr* from, socklen_t* fromlen)
{
    NEXT(recvfrom);
    ssize_t n = next(fd, buf, len, flags, from, fromlen);
    got(fd, n);
    return n;
}

ssize_t recvmsg(int fd, struct msghdr* msg, int flags)
{
    NEXT(recvmsg);
    ssize_t n = next(fd, msg, flags);
    got(fd, n);
    return n;
}

ssize_t read(int fd, void* buf, size_t len)
{
    NEXT(read);
    ssize_t n = next(fd, buf, len);
    if (counter)
        got(fd, n);
    return n;
}
}
