#pragma once
// Template ids of the dialogs in this folder and the control ids their code refers to.

namespace lanterna::dialogs {

inline constexpr int kAboutTemplate = 100;
inline constexpr int kMainTemplate = 102;
inline constexpr int kNetworkSettingsTemplate = 130;
inline constexpr int kMailNotifyTemplate = 131;
inline constexpr int kWirelessTemplate = 132;
inline constexpr int kProgressTemplate = 133;
inline constexpr int kAddressEntryTemplate = 134;
inline constexpr int kPasswordInputTemplate = 135;
inline constexpr int kSnmpTemplate = 136;
inline constexpr int kNotifyEventTemplate = 137;
inline constexpr int kPasswordChangeTemplate = 138;
inline constexpr int kSearchTemplate = 139;
inline constexpr int kMessageTemplate = 146;
inline constexpr int kWirelessSecurityTemplate = 147;
inline constexpr int kHelpTemplate = 148;
// Work on a selection of projectors.
inline constexpr int kFleetProgressTemplate = 160;
inline constexpr int kFleetResultsTemplate = 161;
inline constexpr int kApplyPreviewTemplate = 162;
inline constexpr int kAuditTemplate = 163;
inline constexpr int kFleetPasswordTemplate = 164;
// The health of projectors over PJLink.
inline constexpr int kPjlinkPasswordTemplate = 165;
inline constexpr int kHealthTemplate = 166;
inline constexpr int kOtherSubnetsTemplate = 420;

// Shared by several templates.
inline constexpr int kIconControl = 1000;
inline constexpr int kTextControl = 1001;

}  // namespace lanterna::dialogs
