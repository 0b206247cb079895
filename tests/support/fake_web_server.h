#pragma once

// A web server for tests, on 127.0.0.1 only. A test starts it on a port of
// its choice (or one the system picks), gives each path a reply, and points
// the code under test at Host() or Url(). Routes can be added while it runs;
// a path without a route answers 404. Stopping it (or destroying it) wakes
// slow replies, so that a test never waits for them.
//
// The web server's scripts are added as routes: a handler gets the request's
// path and decoded query keys and returns the reply.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct FakeRequest {
    std::string path;
    std::string target;                              // path and query as sent
    std::multimap<std::string, std::string> params;  // query keys, decoded
    std::string remoteAddress;                       // the client's address
};

struct FakeReply {
    int status = 200;
    std::string body;
    std::string contentType = "text/xml";
};

class FakeWebServer {
public:
    using Handler = std::function<FakeReply(const FakeRequest&)>;

    FakeWebServer();
    ~FakeWebServer();
    FakeWebServer(const FakeWebServer&) = delete;
    FakeWebServer& operator=(const FakeWebServer&) = delete;

    // Listens on `port` (0: a free port the system picks) and returns the
    // port, or 0 when it cannot listen there.
    int Start(int port = 0);
    void Stop();

    int Port() const { return port_; }
    std::string Host() const;                          // "127.0.0.1:<port>"
    std::string Url(const std::string& target) const;  // "http://" + Host() + target

    void Route(const std::string& path, Handler handler);
    void ServeFixed(const std::string& path, std::string body, int status = 200);
    void ServeStatus(const std::string& path, int status);
    // Answers after `delay`, or when the server stops.
    void ServeSlow(const std::string& path, std::chrono::milliseconds delay, std::string body);
    // A body of `bytes` bytes, made as it is sent, with no length announced.
    void ServeOversized(const std::string& path, size_t bytes);
    // Announces `bytes` bytes, sends half of them and closes the connection.
    void ServeCutShort(const std::string& path, size_t bytes);
    // Announces `bytes` bytes and sends them one at a time, one each `every`.
    void ServeTrickle(const std::string& path, size_t bytes, std::chrono::milliseconds every);

    // The targets of the requests received so far, in order.
    std::vector<std::string> Requests() const;

private:
    struct Server;
    enum class Kind { Handler, Slow, Oversized, CutShort, Trickle };
    struct RouteEntry {
        Kind kind = Kind::Handler;
        Handler handler{};
        std::chrono::milliseconds delay{0};
        std::string body{};
        size_t bytes = 0;
    };

    void AddRoute(const std::string& path, RouteEntry route);

    std::unique_ptr<Server> server_;
    std::thread listener_;
    int port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    bool stopped_ = false;
    std::map<std::string, RouteEntry> routes_;
    std::vector<std::string> requests_;
};
