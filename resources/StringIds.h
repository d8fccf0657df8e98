#pragma once
// Names of the string table ids (resources/strings.tsv holds the texts).

namespace lanterna {

enum StringId : int {
    kStringConnectByAddress = 102,      // first fixed row of the projector list
    kStringOpenMonitorListTitle = 103,  // open dialog of a monitor list file
    kStringMonitorListFilter = 104,     // its filter pairs, separated by line feeds
    kStringTestMailSent = 105,
    kStringTestMailFailed = 106,
    kStringSaveSettingsTitle = 107,   // save dialog of a settings file
    kStringSettingsFileFilter = 108,  // its filter pairs, separated by line feeds
    kStringApplySettingsQuestion = 109,
    kStringAppName = 110,  // also the caption of every message
    kStringConnectFailed = 121,
    kStringOtherLinkOpen = 122,
    kStringSettingsFileUnreadable = 123,
    kStringNotSettingsFile = 124,
    kStringPasswordWrong = 125,
    kStringOldPasswordWrong = 126,
    kStringPasswordsDiffer = 127,
    kStringPasswordChangeFailed = 128,
    kStringBadIpAddress = 129,
    kStringCannotContinue = 130,
    kStringAuthenticationFailed = 131,
    kStringWriteFailed = 132,
    kStringWriteDone = 133,
    kStringBadSmtpServer = 134,
    kStringBadSmtpPort = 135,
    kStringBadMailAddress = 136,
    kStringBadTrapAddress = 137,
    kStringBadCommunityName = 138,
    kStringBadProjectorName = 139,
    kStringBadSubnetMask = 140,
    kStringBadGateway = 141,
    kStringBadDns = 142,
    kStringBadDomainName = 143,
    kStringBadWins = 144,
    kStringConnecting = 145,  // progress texts
    kStringAuthenticating = 146,
    kStringWriting = 147,
    kStringChangingPassword = 148,
    kStringDisplayLimit = 149,  // at most 4096 projectors are shown
    kStringBadEssid = 150,
    kStringBadWepKey = 151,
    kStringSendTestMailQuestion = 152,
    kStringProjectorNotSupported = 153,
    kStringAddressFieldRange = 182,      // a non-digit typed into an address field
    kStringWiredConfigFileRow = 183,     // second fixed row of the projector list
    kStringWirelessConfigFileRow = 184,  // third fixed row
    kStringCreateButton = 185,           // OK button of the configuration file dialog
    kStringCloseButton = 186,            // its Cancel button
    kStringBadWpaPsk = 188,
    kStringBadLeapUserName = 189,
    kStringBadLeapPassword = 190,
    kStringConfigFileFilter = 191,  // filter pairs of the configuration file save dialog
    kStringSaveConfigFileTitle = 192,
    kStringBadFileNameCharacter = 193,
    // The main window at a site's scale: the details view's columns and words, presence, the
    // "?" menu, the delete question, the typed filter, other subnets and the help page.
    kStringColumnName = 400,
    kStringColumnAddress = 401,
    kStringColumnModuleType = 402,
    kStringColumnInterface = 403,
    kStringColumnState = 404,
    kStringInterfaceWired = 405,
    kStringInterfaceWireless = 406,
    kStringAnswering = 407,
    kStringNotAnsweringSince = 408,  // %s: the time, "HH:MM"
    kStringDetailsView = 409,
    kStringHelpCommand = 410,
    kStringAboutCommand = 411,
    kStringDeleteQuestion = 412,
    kStringFilterShown = 413,  // %s: the typed text
    kStringOtherSubnetsCommand = 414,
    kStringHelpTitle = 415,
    kStringHelpPage = 416,
    kStringRowIndicator = 417,  // %s: the name of the row whose indicator it is
};

}  // namespace lanterna
