#pragma once

// A TCP listener on 127.0.0.1 at a port the system chooses, for tests that prove nothing
// connects: the kernel completes a connection into the backlog whether or not it is accepted,
// so after the code under test ran, pendingConnections() counts whatever tried.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace testnet {

class LoopbackListener {
public:
    LoopbackListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        socklen_t size = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 16) != 0
            || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &size) != 0)
            throw std::runtime_error("no loopback listener");
        port_ = ntohs(a.sin_port);
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    }
    ~LoopbackListener() { ::close(fd_); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    // Accepts (and closes) every connection waiting now.
    int pendingConnections()
    {
        int n = 0;
        for (int c; (c = ::accept(fd_, nullptr, nullptr)) >= 0; ++n)
            ::close(c);
        return n;
    }

    // Connects once from this process: shows that the listener would have seen a connection.
    bool connectOnce() const
    {
        const int c = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(port_));
        const bool ok = c >= 0 && ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        if (c >= 0)
            ::close(c);
        return ok;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace testnet
