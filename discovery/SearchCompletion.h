#pragma once
// How the wait dialog of a refresh learns that the searches are over: each search reports
// once; the first report only sets `oneDone`, the second ends the wait with OK when that
// report's own value is 1 and with Cancel otherwise. Not thread-safe: one thread (the one the
// reports are delivered to) drives it.

#include <optional>

namespace lanterna {

// Messages posted by the two searches, with the value in wParam (lParam 0).
inline constexpr int kHelloSearchDoneMessage = 0x532;      // WM_USER + 0x132, always 1
inline constexpr int kSecondarySearchDoneMessage = 0x531;  // WM_USER + 0x131, 1 ran, 0 not

// End codes of the wait, as a dialog ends.
inline constexpr int kSearchEndOk = 1;      // IDOK
inline constexpr int kSearchEndCancel = 2;  // IDCANCEL

class CSearchCompletion {
  public:
    // One report of either search. Empty after the first; the end code after the second.
    // Reports after the second change nothing and give the same end code again.
    std::optional<int> OnSearchReport(int wParam) {
        if (endCode) {
            return endCode;
        }
        if (!oneDone) {
            oneDone = true;
            return std::nullopt;
        }
        endCode = wParam == 1 ? kSearchEndOk : kSearchEndCancel;
        return endCode;
    }

    bool OneDone() const { return oneDone; }
    std::optional<int> EndCode() const { return endCode; }

  private:
    bool oneDone = false;
    std::optional<int> endCode;
};

}  // namespace lanterna
