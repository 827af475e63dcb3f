// Ring: runtime. See log_keeper.h.
#include "runtime/log_keeper.h"

#include <cerrno>
#include <csignal>
#include <initializer_list>
#include <sys/socket.h>
#include <sys/wait.h>
#include <poll.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tapwell::log_keeper {

namespace {

struct Request {
    const char* data;
    std::size_t size;
};

int socket_fd = -1;
pid_t keeper_pid = -1;
bool in_start = false;

[[noreturn]] void serve(int socket, WriteFunction write) {
    for (int s : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGPIPE, SIGXFSZ}) std::signal(s, SIG_IGN);
#ifdef __linux__
    prctl(PR_SET_NAME, "tapwell-log");
#endif
    Request request;
    for (;;) {
        const ssize_t n = recv(socket, &request, sizeof request, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n != static_cast<ssize_t>(sizeof request)) _exit(0);  // the log was closed, or our process ended
        const int result = write(request.data, request.size);
        send(socket, &result, sizeof result, MSG_NOSIGNAL);
    }
}

}  // namespace

bool start(WriteFunction write) {
    stop();
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
    in_start = true;
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        serve(ends[1], write);
    }
    in_start = false;
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return false;
    }
    socket_fd = ends[0];
    keeper_pid = child;
    return true;
}

bool running() { return keeper_pid > 0; }

bool request(const char* data, std::size_t size) {
    if (!running()) return false;
    const Request request{data, size};
    ssize_t n;
    do {
        n = send(socket_fd, &request, sizeof request, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof request)) return true;
    stop();
    return false;
}

int answer() {
    if (!running()) return GONE;
    int result = GONE;
    ssize_t n;
    do {
        n = recv(socket_fd, &result, sizeof result, 0);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof result)) return result;
    stop();
    return GONE;
}

bool answered() {
    if (!running()) return true;
    pollfd p{socket_fd, POLLIN, 0};
    int n;
    do {
        n = poll(&p, 1, 0);
    } while (n < 0 && errno == EINTR);
    return n != 0;
}

void stop() {
    if (!running()) return;
    close(socket_fd);
    while (waitpid(keeper_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    socket_fd = -1;
    keeper_pid = -1;
}

bool starting() { return in_start; }

void forget() {
    if (socket_fd >= 0) close(socket_fd);
    socket_fd = -1;
    keeper_pid = -1;
}

}  // namespace tapwell::log_keeper
