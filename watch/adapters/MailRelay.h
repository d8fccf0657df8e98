#pragma once
// Alert mails through the site's relay with libcurl's SMTP: plain, STARTTLS or TLS, with AUTH
// when a user is configured; bounded in time.

#include <chrono>
#include <string>

#include "watch/Alerts.h"
#include "watch/WatchConfig.h"

namespace lanterna::watch {

// The longest one mail may take, from the connection to the relay's last answer.
inline constexpr std::chrono::seconds kMailTimeLimit{60};

class CMailRelay final : public IMailSender {
  public:
    // `password` is the relay's, when `config.user` is given.
    CMailRelay(MailConfig config, std::string password);

    bool Send(const MailMessage& message, std::string& problem) override;

  private:
    MailConfig config_;
    std::string password_;
};

}  // namespace lanterna::watch
