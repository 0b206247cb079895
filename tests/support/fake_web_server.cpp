#include "support/fake_web_server.h"

#include <httplib.h>

#include <algorithm>

struct FakeWebServer::Server {
    httplib::Server http;
};

FakeWebServer::FakeWebServer() : server_(std::make_unique<Server>()) {
    server_->http.set_keep_alive_timeout(1);
    server_->http.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        RouteEntry route;
        bool found = false;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request.target);
            const auto entry = routes_.find(request.path);
            if (entry != routes_.end()) {
                route = entry->second;
                found = true;
            }
        }
        if (!found) {
            response.status = 404;
            response.set_content("no route", "text/plain");
            return;
        }
        switch (route.kind) {
            case Kind::Handler: {
                FakeRequest asked{request.path, request.target, {}, request.remote_addr};
                for (const auto& [key, value] : request.params) asked.params.emplace(key, value);
                const FakeReply reply = route.handler(asked);
                response.status = reply.status;
                response.set_content(reply.body, reply.contentType);
                return;
            }
            case Kind::Slow: {
                std::unique_lock lock(mutex_);
                stopping_.wait_for(lock, route.delay, [this] { return stopped_; });
                response.set_content(route.body, "text/xml");
                return;
            }
            case Kind::Oversized:
                // Sent in chunks, with no length announced: only the receiver
                // can tell that it is too much.
                response.set_chunked_content_provider("application/octet-stream",
                                                      [left = route.bytes](size_t, httplib::DataSink& sink) mutable {
                                                          static const std::string chunk(64 * 1024, 'x');
                                                          if (left == 0) {
                                                              sink.done();
                                                              return true;
                                                          }
                                                          const size_t length = std::min(left, chunk.size());
                                                          left -= length;
                                                          return sink.write(chunk.data(), length);
                                                      });
                return;
            case Kind::CutShort:
                response.set_content_provider(
                    route.bytes, "application/octet-stream",
                    [half = route.bytes / 2](size_t offset, size_t length, httplib::DataSink& sink) {
                        if (offset >= half) return false;  // drops the connection
                        static const std::string chunk(64 * 1024, 'x');
                        return sink.write(chunk.data(), std::min({length, chunk.size(), half - offset}));
                    });
                return;
            case Kind::Trickle:
                response.set_content_provider(route.bytes, "application/octet-stream",
                                              [this, every = route.delay](size_t, size_t, httplib::DataSink& sink) {
                                                  std::unique_lock lock(mutex_);
                                                  if (stopping_.wait_for(lock, every, [this] { return stopped_; }))
                                                      return false;
                                                  lock.unlock();
                                                  return sink.write("x", 1);
                                              });
                return;
        }
    });
}

FakeWebServer::~FakeWebServer() { Stop(); }

int FakeWebServer::Start(int port) {
    httplib::Server& http = server_->http;
    if (port == 0) {
        port = http.bind_to_any_port("127.0.0.1");
        if (port <= 0) return 0;
    } else if (!http.bind_to_port("127.0.0.1", port)) {
        return 0;
    }
    port_ = port;
    listener_ = std::thread([&http] { http.listen_after_bind(); });
    while (!http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port_;
}

void FakeWebServer::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    stopping_.notify_all();
    server_->http.stop();
    if (listener_.joinable()) listener_.join();
}

std::string FakeWebServer::Host() const { return "127.0.0.1:" + std::to_string(port_); }

std::string FakeWebServer::Url(const std::string& target) const { return "http://" + Host() + target; }

void FakeWebServer::AddRoute(const std::string& path, RouteEntry route) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
}

void FakeWebServer::Route(const std::string& path, Handler handler) {
    AddRoute(path, {.kind = Kind::Handler, .handler = std::move(handler)});
}

void FakeWebServer::ServeFixed(const std::string& path, std::string body, int status) {
    Route(path, [body = std::move(body), status](const FakeRequest&) { return FakeReply{status, body}; });
}

void FakeWebServer::ServeStatus(const std::string& path, int status) {
    ServeFixed(path, "<html>status " + std::to_string(status) + "</html>", status);
}

void FakeWebServer::ServeSlow(const std::string& path, std::chrono::milliseconds delay, std::string body) {
    AddRoute(path, {.kind = Kind::Slow, .delay = delay, .body = std::move(body)});
}

void FakeWebServer::ServeOversized(const std::string& path, size_t bytes) {
    AddRoute(path, {.kind = Kind::Oversized, .bytes = bytes});
}

void FakeWebServer::ServeTrickle(const std::string& path, size_t bytes, std::chrono::milliseconds every) {
    AddRoute(path, {.kind = Kind::Trickle, .delay = every, .bytes = bytes});
}

void FakeWebServer::ServeCutShort(const std::string& path, size_t bytes) {
    AddRoute(path, {.kind = Kind::CutShort, .bytes = bytes});
}

std::vector<std::string> FakeWebServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}
