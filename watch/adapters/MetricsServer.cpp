#include "watch/adapters/MetricsServer.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <cstring>
#include <string_view>

namespace lanterna::watch {

namespace {

// A request to the endpoint holds at most this much (headers and all).
constexpr std::size_t kRequestMemory = 16 * 1024;

MHD_Result Reply(MHD_Connection* connection, unsigned status, const std::string& text,
                 const char* type) {
    MHD_Response* response =
        MHD_create_response_from_buffer(text.size(), const_cast<char*>(text.data()),
                                        MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) {
        return MHD_NO;
    }
    MHD_add_response_header(response, "Content-Type", type);
    if (status == MHD_HTTP_METHOD_NOT_ALLOWED) {
        MHD_add_response_header(response, "Allow", "GET");
    }
    const MHD_Result result = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return result;
}

MHD_Result Answer(void* self, MHD_Connection* connection, const char* url, const char* method,
                  const char*, const char*, size_t* uploadSize, void** context) {
    // The first call of a request only opens it; a body is never taken.
    static int opened = 0;
    if (*context == nullptr) {
        *context = &opened;
        return MHD_YES;
    }
    if (*uploadSize != 0) {
        return MHD_NO;  // a GET with a body: the connection is closed
    }
    if (std::string_view(method) != MHD_HTTP_METHOD_GET) {
        return Reply(connection, MHD_HTTP_METHOD_NOT_ALLOWED, "only GET\n", "text/plain");
    }
    const std::string_view path(url);
    if (path != "/metrics" && path != "/") {
        return Reply(connection, MHD_HTTP_NOT_FOUND, "not found\n", "text/plain");
    }
    return Reply(connection, MHD_HTTP_OK, static_cast<CMetricsServer*>(self)->Text(),
                 "text/plain; version=0.0.4; charset=utf-8");
}

}  // namespace

CMetricsServer::~CMetricsServer() {
    if (daemon_ != nullptr) {
        MHD_stop_daemon(daemon_);
    }
}

bool CMetricsServer::Start(const std::string& host, std::uint16_t port, std::string& problem) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        problem = host + " is no address";
        return false;
    }
    daemon_ = MHD_start_daemon(
        MHD_USE_INTERNAL_POLLING_THREAD, port, nullptr, nullptr, &Answer, this,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&address), MHD_OPTION_CONNECTION_LIMIT,
        kMetricsConnections, MHD_OPTION_CONNECTION_TIMEOUT, kMetricsConnectionSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, kRequestMemory, MHD_OPTION_END);
    if (daemon_ == nullptr) {
        problem = host + ":" + std::to_string(port) + ": cannot listen there";
        return false;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    port_ = info != nullptr ? info->port : port;
    return true;
}

void CMetricsServer::Publish(std::string text) {
    std::lock_guard guard(mutex_);
    text_ = std::move(text);
}

std::string CMetricsServer::Text() const {
    std::lock_guard guard(mutex_);
    return text_;
}

}  // namespace lanterna::watch
