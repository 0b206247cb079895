#include "web/requests.h"

#include "platform/failure.h"
#include "platform/net/http_get.h"

#include <cstdio>
#include <utility>

namespace {

constexpr std::string_view kScheme = "http://";

RequestHook& Hook() {
    static RequestHook hook;
    return hook;
}

// What the server's decoding of a query value would otherwise change or cut:
// "%" starts an escape, "+" reads as a space, "&" and "=" end the value.
bool Reserved(char c) { return c == '%' || c == '&' || c == '=' || c == '+'; }

void AppendValue(std::string& url, const QueryValue& value) {
    if (const auto* number = std::get_if<int32_t>(&value)) {
        url += std::to_string(*number);
        return;
    }
    for (const char c : std::get<std::string>(value)) {
        if (!Reserved(c)) {
            url += c;
            continue;
        }
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
        url += escaped;
    }
}

void BeforeSending(const WebRequest& request) {
    if (Hook()) Hook()(request.path);
}

}  // namespace

std::string RequestUrl(std::string_view host, const WebRequest& request, std::initializer_list<QueryValue> values) {
    if (values.size() != request.keys.size())
        throw Failure(failure_number::InvalidArgument, "The request " + std::string(request.path) + " takes " +
                                                           std::to_string(request.keys.size()) + " values, not " +
                                                           std::to_string(values.size()));
    std::string url(kScheme);
    url += host;
    url += request.path;
    const QueryValue* value = values.begin();
    for (const std::string_view key : request.keys) {
        url += key;
        AppendValue(url, *value++);
    }
    return url;
}

bool LoadReply(net::DOMDocument& document, std::string_view host, const WebRequest& request,
               std::initializer_list<QueryValue> values) {
    const std::string url = RequestUrl(host, request, values);
    if (host.empty()) return false;
    BeforeSending(request);
    return document.Load(url);
}

std::vector<uint8_t> DownloadFile(std::string_view host, const WebRequest& request,
                                  std::initializer_list<QueryValue> values) {
    const std::string url = RequestUrl(host, request, values);
    // A download's URL holds no typed text: it may be shown.
    if (host.empty())
        throw Failure(net::TransferFailed, "No web host is set (QUELLMAR_WEB_HOST): " + url.substr(kScheme.size()) +
                                               " cannot be downloaded");
    BeforeSending(request);
    return net::OpenURL(url);
}

void SetRequestHook(RequestHook hook) { Hook() = std::move(hook); }
