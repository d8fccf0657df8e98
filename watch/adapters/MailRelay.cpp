#include "watch/adapters/MailRelay.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace lanterna::watch {

namespace {

struct Upload {
    std::string text;
    std::size_t sent = 0;
};

std::size_t ReadUpload(char* buffer, std::size_t size, std::size_t count, void* data) {
    auto* upload = static_cast<Upload*>(data);
    const std::size_t n = std::min(size * count, upload->text.size() - upload->sent);
    std::memcpy(buffer, upload->text.data() + upload->sent, n);
    upload->sent += n;
    return n;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

CMailRelay::CMailRelay(MailConfig config, std::string password)
    : config_(std::move(config)), password_(std::move(password)) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

bool CMailRelay::Send(const MailMessage& message, std::string& problem) {
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        problem = "no mail client";
        return false;
    }
    std::unique_ptr<curl_slist, ListDeleter> recipients;
    for (const std::string& to : message.to) {
        recipients.reset(curl_slist_append(recipients.release(), ("<" + to + ">").c_str()));
    }
    Upload upload{message.Text(Clock::now()), 0};
    const std::string from = "<" + message.from + ">";
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, config_.relay.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &ReadUpload);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, static_cast<long>(kMailTimeLimit.count()));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 15L);
    if (config_.security == MailSecurity::kStartTls) {
        curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    }
    if (!config_.user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, config_.user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password_.c_str());
    }
    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK) {
        problem = config_.relay + ": " + curl_easy_strerror(result);
        return false;
    }
    return true;
}

}  // namespace lanterna::watch
