#include "platform/net/http_get.h"

#include "platform/failure.h"

#include <curl/curl.h>

#include <cstdio>
#include <memory>
#include <mutex>

namespace net {
namespace {

struct EasyCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

struct Sink {
    std::vector<uint8_t> bytes;
    size_t maxBytes;
    bool tooLarge = false;
};

size_t Receive(char* data, size_t size, size_t count, void* sinkPointer) {
    auto& sink = *static_cast<Sink*>(sinkPointer);
    const size_t length = size * count;
    if (length > sink.maxBytes - sink.bytes.size()) {
        sink.tooLarge = true;
        return 0;  // ends the transfer
    }
    sink.bytes.insert(sink.bytes.end(), data, data + length);
    return length;
}

bool NeedsEncoding(unsigned char c) { return c <= 0x20 || c >= 0x7F || c == '#'; }

std::string RequestUrl(const std::string& url) {
    std::string sent;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (!NeedsEncoding(byte)) {
            sent += c;
            continue;
        }
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
        sent += escaped;
    }
    return sent;
}

}  // namespace

std::vector<uint8_t> OpenURL(const std::string& url, const TransferLimits& limits) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
    if (!curl) throw Failure(TransferFailed, "Cannot start a transfer of " + url);
    Sink sink{{}, limits.maxBytes};
    char error[CURL_ERROR_SIZE] = "";
    const std::string sent = RequestUrl(url);
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, sent.c_str());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.lowSpeedTime.count()));
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Receive);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error);

    const CURLcode result = curl_easy_perform(handle);
    if (sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        throw Failure(ReplyTooLarge,
                      "The reply from " + url + " is larger than " + std::to_string(limits.maxBytes) + " bytes");
    if (result == CURLE_OPERATION_TIMEDOUT) throw Failure(TimedOut, "The request to " + url + " timed out");
    if (result != CURLE_OK)
        throw Failure(TransferFailed, "The request to " + url +
                                          " failed: " + (*error ? std::string(error) : curl_easy_strerror(result)));
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        throw Failure(ErrorStatus, "The server answered " + url + " with status " + std::to_string(status));
    return std::move(sink.bytes);
}

}  // namespace net
