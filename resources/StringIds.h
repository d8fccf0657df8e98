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
    kStringDisplayLimit = 149,  // at most 64 projectors are shown
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
    kStringReadLinkLost = 200,    // %1 the setting, %2 settings read, %3 settings to read
    kStringWriteLinkLost = 201,   // %1 accepted, %2 refused, %3 no answer, %4 not sent
    kStringUnreadSetting = 202,   // %1 the setting never read that a write would carry
    kStringNoCommands = 203,      // an empty list of commands in 201
};

}  // namespace lanterna
