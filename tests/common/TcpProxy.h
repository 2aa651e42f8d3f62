#pragma once
// A TCP relay between the monitor and the local Firebird server, on a free local port, that a
// test can kill (the server is lost: connections drop, new ones are refused), revive, pause (the
// server is silent: connections stay open and nothing moves, as over a dropped Wi-Fi link) and
// resume. The shared server itself is never touched.

#include <QByteArray>
#include <QString>

#include "TestDatabase.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class TcpProxy {
public:
    explicit TcpProxy(quint16 targetPort = TestDatabase::serverPort()) : m_target(targetPort)
    {
        if (::pipe(m_wake) != 0)
            m_wake[0] = m_wake[1] = -1;
        listen(0);
        m_thread = std::thread([this] { run(); });
    }

    ~TcpProxy()
    {
        m_stop = true;
        wake();
        m_thread.join();
        std::lock_guard lock(m_mutex);
        dropAll();
        ::close(m_wake[0]);
        ::close(m_wake[1]);
    }

    quint16 port() const { return m_port; }
    // The server-qualified name of a database on the local server, reached through the relay.
    QByteArray databaseName(const QString& path) const
    {
        return "127.0.0.1/" + QByteArray::number(m_port) + ":" + path.toLocal8Bit();
    }
    // How many connections the relay has taken since it started.
    int accepted() const { return m_accepted; }

    void kill()
    {
        std::lock_guard lock(m_mutex);
        dropAll();
        wake();
    }
    void revive()
    {
        std::lock_guard lock(m_mutex);
        if (m_listener < 0)
            listen(m_port);
        wake();
    }
    void pause()
    {
        m_paused = true;
        wake();
    }
    void resume()
    {
        m_paused = false;
        wake();
    }

private:
    struct Pair {
        int client;
        int server;
    };

    void listen(quint16 port)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(port);
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
            || ::listen(m_listener, 16) != 0) {
            ::close(m_listener);
            m_listener = -1;
            return;
        }
        socklen_t len = sizeof addr;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
    }

    void dropAll()
    {
        for (const Pair& p : m_pairs) {
            ::close(p.client);
            ::close(p.server);
        }
        m_pairs.clear();
        if (m_listener >= 0)
            ::close(m_listener);
        m_listener = -1;
    }

    void wake()
    {
        char c = 0;
        [[maybe_unused]] auto n = ::write(m_wake[1], &c, 1);
    }

    int connectServer() const
    {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(m_target);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    // Moves what one side has sent to the other; false when the side has gone.
    static bool relay(int from, int to)
    {
        char buffer[65536];
        ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        for (ssize_t sent = 0; sent < n;) {
            ssize_t k = ::send(to, buffer + sent, size_t(n - sent), MSG_NOSIGNAL);
            if (k <= 0)
                return false;
            sent += k;
        }
        return true;
    }

    void run()
    {
        while (!m_stop) {
            std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}};
            {
                std::lock_guard lock(m_mutex);
                fds.push_back({m_listener, short(m_listener >= 0 ? POLLIN : 0), 0});
                if (!m_paused)
                    for (const Pair& p : m_pairs) {
                        fds.push_back({p.client, POLLIN, 0});
                        fds.push_back({p.server, POLLIN, 0});
                    }
            }
            if (::poll(fds.data(), fds.size(), 1000) <= 0)
                continue;
            if (fds[0].revents) {
                char drain[64];
                [[maybe_unused]] auto n = ::read(m_wake[0], drain, sizeof drain);
                continue; // the state changed: look again
            }
            std::lock_guard lock(m_mutex);
            if (m_listener >= 0 && fds[1].fd == m_listener && (fds[1].revents & POLLIN)) {
                int client = ::accept(m_listener, nullptr, nullptr);
                if (client >= 0) {
                    ++m_accepted;
                    int server = connectServer();
                    if (server < 0)
                        ::close(client);
                    else
                        m_pairs.push_back({client, server});
                }
            }
            for (size_t i = 2; i + 1 < fds.size(); i += 2) {
                auto pair = std::find_if(m_pairs.begin(), m_pairs.end(),
                                         [&](const Pair& p) { return p.client == fds[i].fd; });
                if (pair == m_pairs.end())
                    continue;
                bool alive = true;
                if (fds[i].revents)
                    alive = relay(pair->client, pair->server);
                if (alive && fds[i + 1].revents)
                    alive = relay(pair->server, pair->client);
                if (!alive) {
                    ::close(pair->client);
                    ::close(pair->server);
                    m_pairs.erase(pair);
                }
            }
        }
    }

    quint16 m_target;
    quint16 m_port = 0;
    int m_wake[2] = {-1, -1};
    int m_listener = -1;
    std::vector<Pair> m_pairs;
    std::mutex m_mutex;
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_accepted{0};
    std::thread m_thread;
};
