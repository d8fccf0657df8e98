#pragma once
// The PJLink passwords of the window's session, by projector address. A PJLink password is a
// secret of its own, set in the projector's menu for its control port: it is never the network
// module's password, and nothing here reads or writes that one. A password is kept once a
// projector has taken it and forgotten when the projector refuses it; it lives as long as the
// window.
//
// Threads: any; the background health rounds ask from their own thread.

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace lanterna::dialogs {

class CPjlinkPasswords {
  public:
    std::optional<std::string> Known(const std::string& address) const;
    void Keep(const std::string& address, const std::string& password);
    void Forget(const std::string& address);

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> passwords_;
};

}  // namespace lanterna::dialogs
