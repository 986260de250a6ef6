#include "tests/support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace quenvar::testing {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

std::string percent_decode(std::string_view s) {
    std::string out;
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (lower(c) >= 'a' && lower(c) <= 'f') return lower(c) - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

HttpTestRequest parse_request(std::string raw) {
    HttpTestRequest request;
    request.raw = std::move(raw);
    std::string_view rest = request.raw;
    const auto next_line = [&rest]() {
        const size_t end = rest.find("\r\n");
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
        return line;
    };
    const std::string_view request_line = next_line();
    const size_t first = request_line.find(' ');
    const size_t last = request_line.rfind(' ');
    if (first != std::string_view::npos && last > first) {
        request.method = request_line.substr(0, first);
        request.target = request_line.substr(first + 1, last - first - 1);
        request.version = request_line.substr(last + 1);
    }
    for (std::string_view line = next_line(); !line.empty(); line = next_line()) {
        const size_t colon = line.find(':');
        std::string_view value = colon == std::string_view::npos ? "" : line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        request.headers.emplace_back(line.substr(0, colon), value);
    }
    return request;
}

}  // namespace

std::string HttpTestRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (same_ignoring_case(key, name)) return value;
    }
    return "";
}

std::string HttpTestRequest::decoded_target() const {
    return percent_decode(target);
}

std::string HttpTestRequest::query_value(std::string_view key) const {
    const size_t question = target.find('?');
    if (question == std::string::npos) return "";
    std::string_view query = std::string_view(target).substr(question + 1);
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t eq = pair.find('=');
        if (pair.substr(0, eq) == key) {
            return eq == std::string_view::npos ? "" : percent_decode(pair.substr(eq + 1));
        }
        query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
    }
    return "";
}

std::string http_response(int status, std::string_view body, std::string_view extra_headers,
                          bool with_content_length) {
    std::string out = "HTTP/1.0 " + std::to_string(status) + " Test\r\n";
    if (with_content_length) out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    out += "Content-Type: text/html; charset=utf-8\r\n";
    out += extra_headers;
    out += "\r\n";
    out += body;
    return out;
}

HttpTestServer::HttpTestServer(Handler handler) : handler_(std::move(handler)) {
    // Requests to it must never go to a proxy that the environment names,
    // also from child processes that a test starts.
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { accept_loop(); });
}

HttpTestServer::~HttpTestServer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const int s : open_sockets_) ::shutdown(s, SHUT_RDWR);
    }
    stopping_changed_.notify_all();
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    std::vector<std::thread> connections;
    {
        const std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (std::thread& t : connections) t.join();
}

std::string HttpTestServer::host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::string HttpTestServer::url(std::string_view path_and_query) const {
    return "http://" + host() + std::string(path_and_query);
}

std::vector<HttpTestRequest> HttpTestServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

size_t HttpTestServer::request_count() const {
    const std::lock_guard lock(mutex_);
    return requests_.size();
}

void HttpTestServer::accept_loop() {
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) return;  // the listener was shut down
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(connection);
            return;
        }
        open_sockets_.push_back(connection);
        connections_.emplace_back([this, connection] { serve(connection); });
    }
}

bool HttpTestServer::wait(std::chrono::milliseconds pause) {
    std::unique_lock lock(mutex_);
    stopping_changed_.wait_for(lock, pause, [this] { return stopping_; });
    return !stopping_;
}

void HttpTestServer::serve(int connection) {
    std::string raw;
    char buffer[4096];
    while (raw.find("\r\n\r\n") == std::string::npos && raw.size() < (1u << 20)) {
        pollfd readable{connection, POLLIN, 0};
        if (::poll(&readable, 1, 10'000) <= 0) break;
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        raw.append(buffer, static_cast<size_t>(n));
    }
    if (const size_t end = raw.find("\r\n\r\n"); end != std::string::npos) {
        HttpTestRequest request = parse_request(raw.substr(0, end + 4));
        {
            const std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const HttpTestReply reply = handler_(request);
        for (const HttpTestReply::Piece& piece : reply.pieces) {
            if (piece.pause.count() > 0 && !wait(piece.pause)) break;
            size_t sent = 0;
            while (sent < piece.bytes.size()) {
                const ssize_t n = ::send(connection, piece.bytes.data() + sent,
                                         piece.bytes.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
        }
        if (reply.hang) wait(std::chrono::hours(1));
    }
    const std::lock_guard lock(mutex_);
    open_sockets_.erase(std::find(open_sockets_.begin(), open_sockets_.end(), connection));
    ::shutdown(connection, SHUT_WR);
    ::close(connection);
}

uint16_t unused_port() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);  // bound but never listening: connections are refused
    return ntohs(address.sin_port);
}

}  // namespace quenvar::testing
