// A real HTTP server on 127.0.0.1 for tests, on plain sockets so that a test
// controls every byte of the reply and its timing, and sees every byte of the
// request.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace quenvar::testing {

struct HttpTestRequest {
    std::string raw;  // the request line and headers, up to the blank line
    std::string method, target, version;
    std::vector<std::pair<std::string, std::string>> headers;

    // The first header of that name (case-insensitive), "" when there is none.
    std::string header(std::string_view name) const;
    // The target with every %XX decoded into its byte.
    std::string decoded_target() const;
    // The decoded value of one query key ("" when absent).
    std::string query_value(std::string_view key) const;
};

struct HttpTestReply {
    struct Piece {
        std::chrono::milliseconds pause{0};  // waited before the bytes are sent
        std::string bytes;
    };
    std::vector<Piece> pieces;
    bool hang = false;  // keep the connection open after the pieces until the server stops

    HttpTestReply() = default;
    HttpTestReply(std::string bytes) { pieces.push_back({{}, std::move(bytes)}); }
};

// A whole response: status line, Content-Length (unless left out), any extra
// header lines (each ending in "\r\n"), the body.
std::string http_response(int status, std::string_view body, std::string_view extra_headers = "",
                          bool with_content_length = true);

class HttpTestServer {
public:
    using Handler = std::function<HttpTestReply(const HttpTestRequest&)>;

    explicit HttpTestServer(Handler handler);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    uint16_t port() const { return port_; }
    std::string host() const;  // "127.0.0.1:PORT"
    std::string url(std::string_view path_and_query) const;
    std::vector<HttpTestRequest> requests() const;
    size_t request_count() const;

private:
    void accept_loop();
    void serve(int connection);
    // Waits up to `pause`; false once the server is stopping.
    bool wait(std::chrono::milliseconds pause);

    Handler handler_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::condition_variable stopping_changed_;
    bool stopping_ = false;
    std::vector<std::thread> connections_;
    std::vector<int> open_sockets_;
    std::vector<HttpTestRequest> requests_;
};

// A loopback port that nothing listens on.
uint16_t unused_port();

}  // namespace quenvar::testing
