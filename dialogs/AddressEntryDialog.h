#pragma once
// CAddressEntryDialog (template 134): the user types the address of a projector the search did
// not find. "접속" (1) and "추가" (1070) share one check:
//   - a blank, partly filled or non-host address: string 129, focus on the first field (the
//     first blank one when partly filled); the dialog stays open;
//   - an address already in the projector list: `pendingAddress` is set; ends with 1426
//     (connect) or 1425 (add) without asking the network;
//   - otherwise the address is probed on a worker thread while this thread waits with the wait
//     cursor; a projector answering from that address sets `pendingName`, `pendingType` and
//     `pendingAddress` and ends with 1 (connect) or 1070 (add);
//   - where nothing answers, the dialog says so in words of its own (the address is usable; the
//     projector may be switched off) and offers to add it all the same: Yes sets
//     `pendingAddress` (no name, type 0) and ends with 1071, for the list to show it as not
//     answering, so that a site can be entered before its projectors are powered; No leaves the
//     dialog open.
// Cancel ends with 2.

#include <functional>
#include <string_view>

#include "discovery/AddressProbe.h"
#include "skin/SkinDialog.h"
#include "state/ApplicationState.h"

namespace lanterna::dialogs {

// End codes besides IDOK (connect, new) and IDCANCEL.
inline constexpr int kAddressEntryAdd = 1070;
inline constexpr int kAddressEntryAddKnown = 1425;
inline constexpr int kAddressEntryConnectKnown = 1426;
inline constexpr int kAddressEntryAddSilent = 1071;

class CAddressEntryDialog : public skin::CSkinDialog {
  public:
    static constexpr int kAddressControl = 1069;
    static constexpr int kAddButton = 1070;

    // Asks `address` (dotted text) whether a projector answers there: 1 with `answer` filled,
    // 0 for none. Runs on the probe's worker thread.
    using Probe = std::function<int(std::string_view address, ProbeAnswer& answer)>;

    // The probe defaults to the hello probe on the projector port (in debug mode: the fixed
    // answer after 3 seconds). Tests give their own, pointed at loopback.
    explicit CAddressEntryDialog(ApplicationState& state, QWidget* owner = nullptr,
                                 Probe probe = nullptr);

    // The dotted text of the last address probed.
    std::string_view AddressText() const { return TextOf(addressText_); }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    enum class CheckResult { kStayOpen, kNewProjector, kKnownAddress, kSilentAddress };
    CheckResult CheckAddress();
    int RunProbe(ProbeAnswer& answer);
    void Refuse(int focusField);
    // Nothing answered at `address`: whether the user adds it all the same.
    bool AddSilentAddress(const Octets& address);
    void EndWith(CheckResult result, int newCode, int knownCode);

    ApplicationState& state_;
    Probe probe_;
    FixedText<21> addressText_{};
};

}  // namespace lanterna::dialogs
