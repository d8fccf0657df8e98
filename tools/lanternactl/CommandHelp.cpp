#include "tools/lanternactl/CommandHelp.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "tools/lanternactl/HelpSections.h"
#include "tools/lanternactl/WrappedText.h"

namespace lanterna::cli {

namespace {

// ---- options shared by the projector commands ---------------------------------------------------

constexpr OptionEntry kAll{"--all", "", "",
                           "Every projector the network search finds (as discover lists them)."};
constexpr OptionEntry kTargetsFile{
    "--targets", "", "FILE",
    "Addresses and ranges from FILE, one per line; '#' begins a comment; - reads standard "
    "input."};
constexpr OptionEntry kJobs{"--jobs", "-j", "N",
                            "Work on at most N projectors at once (1 to 128, default 16)."};
constexpr OptionEntry kPasswordFile{
    "--password-file", "", "FILE",
    "The password for every target: the first line of FILE (else LANTERNA_PASSWORD, else "
    "asked once on the terminal when a projector needs one)."};
constexpr OptionEntry kPasswords{
    "--passwords", "", "FILE",
    "Passwords per projector: lines 'ADDRESS PASSWORD' ('#' comments). FILE must not be "
    "readable by others than its owner. Targets it does not name use the one password."};
constexpr OptionEntry kKeyring{
    "--keyring", "", "",
    "Passwords kept in the desktop keyring (Secret Service, as the window's \"Remember in the "
    "keyring\" keeps them). Order: a target's --passwords line, else --password-file or "
    "LANTERNA_PASSWORD, then the target's keyring entry, then the terminal; a password the "
    "projector refuses, other than a --passwords line, gives way to the next one that differs."};
constexpr OptionEntry kType{
    "--type", "", "N",
    "The interface-module type of every target (0 to 255); without it each target's type is "
    "learned from its answer to a hello."};
constexpr OptionEntry kJson{"--json", "", "", "JSON instead of text."};
constexpr OptionEntry kCsv{"--csv", "", "", "CSV (a header line, then one line per row)."};
constexpr OptionEntry kDryRun{
    "--dry-run", "", "",
    "Read and check every target and print what would change on it, setting by setting (now "
    "and after), and what is left alone and why; send nothing."};
constexpr OptionEntry kProtocol{
    "--protocol", "", "",
    "With --dry-run: also print the command lines that would be sent to each target."};
constexpr OptionEntry kForce{
    "--force", "", "",
    "Write a static address even when another target of this command gets or has it, or "
    "something answers a hello there."};
constexpr OptionEntry kVerify{
    "--verify", "", "",
    "After writing, read the projector again and report every setting that did not take "
    "(the default for several targets)."};
constexpr OptionEntry kNoVerify{"--no-verify", "", "", "Do not read back after writing."};
constexpr OptionEntry kSettle{
    "--settle", "", "SECONDS",
    "After an address change or a module reset, wait at most SECONDS (0 to 600, default 20) "
    "for the projector to answer a hello at its address before reading it back."};
constexpr OptionEntry kTestMail{
    "--test-mail", "", "yes|no",
    "Answer to the question whether to send a test mail after mail settings were sent; yes asks "
    "for it whenever they are sent, as the projector had them too (with one target it is "
    "otherwise asked on a terminal after a change; else no)."};

constexpr OptionEntry kWait{
    "--wait", "", "SECONDS",
    "How long the search of --all and the hellos to the targets wait after the last answer (1 "
    "to 60, default 5, as the window's search): a script on a quiet network may wait 1."};
constexpr OptionEntry kMaxFailures{
    "--max-failures", "", "K",
    "Start no further projector once K have failed (1 to 4096); the ones never started are "
    "reported as not started. Without it every target is worked on."};

constexpr OptionEntry kShowSecrets{
    "--show-secrets", "", "",
    "Show the WEP keys of one projector's settings (read) or of the commands in its change log "
    "(history) instead of masking them (read --json always holds them)."};
constexpr OptionEntry kReadOptions[] = {kAll,  kTargetsFile, kJobs,   kPasswordFile, kPasswords,
                                        kType, kJson,        kWait,   kKeyring,      kShowSecrets};
constexpr OptionEntry kSettable{
    "--settable", "", "",
    "CSV whose columns are hardwareAddress, address and the fields of set, as provision reads "
    "them back (keys left empty), and status; a target that was not read has only its address "
    "and status."};
constexpr OptionEntry kPjlinkPasswords{
    "--pjlink-passwords", "", "FILE",
    "PJLink passwords per projector: lines 'ADDRESS PASSWORD' ('#' comments), as --passwords "
    "and readable by its owner alone. PJLink's password is its own: a projector the file does "
    "not name is asked without one, never with the network module's."};
constexpr OptionEntry kInventoryOptions[] = {kAll, kTargetsFile, kJobs,     kPasswordFile,
                                             kPasswords, kType, kCsv,     kJson, kWait,
                                             kSettable, kKeyring, kPjlinkPasswords};
constexpr OptionEntry kLampHours{
    "--lamp-hours", "", "N",
    "Report a lamp at or over N hours (1 to 99999; default 3000, a common rating of lamps in "
    "their normal mode, as PJLink reports none)."};
constexpr OptionEntry kAuditOptions[] = {kAll,     kTargetsFile,     kJobs, kPasswordFile,
                                         kPasswords, kType,          kJson, kWait,
                                         kKeyring, kPjlinkPasswords, kLampHours};
constexpr OptionEntry kPjlinkKeyring{
    "--keyring", "", "",
    "PJLink passwords kept in the desktop keyring: entries with a 'pjlink' attribute beside a "
    "projector's address, after a --pjlink-passwords line. A network module's entry is never "
    "taken for PJLink."};
constexpr OptionEntry kStatusOptions[] = {kAll, kTargetsFile, kJobs, kJson, kCsv, kWait,
                                          kPjlinkPasswords, kPjlinkKeyring};
constexpr OptionEntry kYes{"--yes", "", "", "Switch without asking."};
constexpr OptionEntry kPowerDryRun{"--dry-run", "", "",
                                   "Print the command each target would get; send nothing."};
constexpr OptionEntry kPowerOptions[] = {kAll,  kTargetsFile,     kJobs,         kYes, kPowerDryRun,
                                         kWait, kPjlinkPasswords, kPjlinkKeyring};
constexpr OptionEntry kSetOptions[] = {
    kAll,    kTargetsFile, kJobs,     kPasswordFile, kPasswords, kType,
    kJson,   kDryRun,      kProtocol, kForce,        kVerify,    kNoVerify,
    kSettle, kTestMail,    kWait,     kMaxFailures,  kKeyring};
constexpr OptionEntry kTemplate{
    "--template", "", "FILE.ini",
    "Apply FILE.ini to every target as a template: each keeps its own name, hardware "
    "address, DHCP and addresses, and only what differs from the target is sent."};
constexpr OptionEntry kApplyOptions[] = {
    kTemplate, kAll,    kTargetsFile, kJobs,     kPasswordFile, kPasswords,
    kType,     kJson,   kDryRun,      kProtocol, kForce,        kVerify,
    kNoVerify, kSettle, kTestMail,    kWait,     kMaxFailures,  kKeyring};
constexpr OptionEntry kNewPasswordFile{
    "--new-password-file", "", "FILE",
    "The new password: the first line of FILE (else LANTERNA_NEW_PASSWORD, else asked twice "
    "on the terminal)."};
constexpr OptionEntry kPasswdOptions[] = {
    kAll,
    kTargetsFile,
    kJobs,
    kPasswordFile,
    kPasswords,
    kNewPasswordFile,
    kType,
    kJson,
    kWait,
    kKeyring,
    {"--dry-run", "", "",
     "Ask each target only whether it has a password and list which would get its first "
     "password and which a change; no password is asked for or sent."}};
constexpr OptionEntry kQueryOptions[] = {kAll,       kTargetsFile, kJobs, kPasswordFile,
                                         kPasswords, kJson,        kWait};
constexpr OptionEntry kProbeOptions[] = {kAll, kTargetsFile, kJson, kWait};
constexpr OptionEntry kDiscoverOptions[] = {
    kJson,
    kCsv,
    {"--wait", "", "SECONDS",
     "How long the search waits after the last answer (1 to 60, default 5, as the window's)."}};
constexpr OptionEntry kSaveOptions[] = {
    {"--from", "", "RECORD.json", "The record (as read --json prints it); - reads standard input."},
    {"--output", "-o", "FILE.ini", "The settings file to write."},
};
constexpr OptionEntry kNcfOptions[] = {
    {"--wired", "", "", "A configuration file for the wired interface."},
    {"--wireless", "", "", "A configuration file for the wireless interface."},
    {"--from", "", "RECORD.json|FILE.ini", "The settings: a record or a settings file."},
    {"-o", "", "FILE.ncf", "The configuration file to write."},
};

constexpr OptionEntry kBackupOptions[] = {kAll,       kTargetsFile, kJobs, kPasswordFile,
                                          kPasswords, kType,        kJson, kWait, kKeyring};
constexpr OptionEntry kRestoreOptions[] = {
    kAll,    kTargetsFile, kJobs,     kPasswordFile, kPasswords, kType,
    kJson,   kDryRun,      kProtocol, kForce,        kVerify,    kNoVerify,
    kSettle, kTestMail,    kWait,     kMaxFailures,  kKeyring};
constexpr OptionEntry kDiffOptions[] = {
    kAll, kTargetsFile, kJobs, kPasswordFile, kPasswords, kJson, kWait, kKeyring,
    {"--template", "", "FILE.ini",
     "Compare the projectors of A with FILE.ini used as a template: only the settings apply "
     "--template would write to each (not its name, DHCP and addresses, nor an interface "
     "set-up saved from another interface kind)."}};
constexpr OptionEntry kHistoryOptions[] = {kPasswordFile, kPasswords, kType,        kJson,
                                           kWait,         kKeyring,   kShowSecrets};
constexpr OptionEntry kUndoOptions[] = {
    kAll,      kTargetsFile, kJobs,   kPasswordFile, kPasswords, kType,     kJson, kDryRun,
    kProtocol, kForce,       kVerify, kNoVerify,     kSettle,    kTestMail, kWait, kKeyring};
constexpr OptionEntry kWatchOptions[] = {
    {"--check", "", "",
     "Read and check CONFIG, its password files and targets file, say how many targets it "
     "names, and end."}};
constexpr OptionEntry kProvisionOptions[] = {
    kAll,    kTargetsFile, kJobs,     kPasswordFile, kPasswords, kType,
    kJson,   kDryRun,      kProtocol, kForce,        kVerify,    kNoVerify,
    kSettle, kTestMail,    kWait,     kMaxFailures,  kKeyring};

// ---- further sections
// -----------------------------------------------------------------------------

void PrintTargets(std::ostream& out) {
    out << "Targets:\n"
           "  ADDRESS          one projector, e.g. 10.1.2.10\n"
           "  FIRST-LAST       a range: 10.1.2.10-40 (the last number), or\n"
           "                   10.1.2.250-10.1.3.20\n"
           "  --all, --targets FILE   as described under Options\n";
    PrintWrapped(out,
                 "Several targets may be given; each is worked on over a link of its own, at "
                 "most --jobs at once. One ADDRESS alone prints as for a single projector; "
                 "otherwise one line per target in the order given (address, name, outcome, "
                 "message), then a summary line such as \"30 targets: 28 set, 1 refused some "
                 "settings, 1 not answering\". An address given twice is worked on once. At most "
                 "4096 targets.",
                 0);
}

void PrintExitStatus(std::ostream& out) {
    out << "Exit status: 0 every target succeeded, 1 some target failed (its line, or\n"
           "standard error, says why), 2 bad command line, 3 every write was done but a\n"
           "change-log line could not be kept (warned on standard error).\n";
}

void PrintProjectorSections(std::ostream& out) {
    PrintTargets(out);
    out << "\n";
    PrintExitStatus(out);
}

void PrintSetSections(std::ostream& out) {
    out << "Fields (FIELD=VALUE; names as in read --json):\n";
    PrintSettableFields(out);
    out << "\nMail events (mailEvents1 to mailEvents3): names joined by commas, a number\n"
           "(0x7ff for all), or none:\n";
    PrintEventNames(out);
    out << "\n";
    PrintProjectorSections(out);
}

void PrintAuditSections(std::ostream& out) {
    out << "Findings (severity, name, meaning):\n";
    PrintFindingHelp(out);
    out << "\n";
    PrintTargets(out);
    out << "\nExit status: 0 no finding of warning or critical and every projector read,\n"
           "1 otherwise, 2 bad command line.\n";
}

void PrintTargetSections(std::ostream& out) {
    PrintTargets(out);
    out << "\nExit status: 0 every target answered (and switched), 1 otherwise, 2 bad\n"
           "command line.\n";
}

void PrintPasswdSections(std::ostream& out) {
    out << "Each projector is asked first whether it has a password: one without gets its\n"
           "first password with no current password asked for or given. An empty new\n"
           "password removes the password. Passwords have at most 14 bytes.\n\n";
    PrintProjectorSections(out);
}

void PrintDiscoverSections(std::ostream& out) {
    out << "Columns: address, name, module type, found by (hello, secondary or both,\n"
           "with +pjlink when the PJLink search found it too; pjlink when only it did);\n"
           "sorted by address. Exit status: 0 when the hello search ran, 1 when it\n"
           "could not (whatever the other searches found).\n";
}

void PrintInventorySections(std::ostream& out) {
    out << "Columns: address, name, hardwareAddress, interface (wired or wireless), dhcp,\n"
           "subnetMask, gateway, dns, mail (on or off), smtpServer, recipients,\n"
           "trapAddresses, community, essid, security, password (set or none), status,\n"
           "then over PJLink: power, lampHours, errors, model (a dash in the table, empty\n"
           "in CSV and JSON, where the projector does not report it).\n\n";
    PrintProjectorSections(out);
}

void PrintBackupSections(std::ostream& out) {
    PrintWrapped(out,
                 "Files: DIR/TIME/index.csv and DIR/TIME/NAME_HARDWAREADDRESS.ini, TIME the UTC "
                 "time of the run (20250314T101500Z; -2, -3, ... when taken). A settings file "
                 "holds only the settings that were read and is the owner's alone when it holds "
                 "a WEP key. The index has the columns file, address, name, "
                 "wiredHardwareAddress, wirelessHardwareAddress, time, status (saved, or why "
                 "not) and notBackedUp.",
                 0);
    out << "\n";
    PrintWrapped(out,
                 "Not in any backup: what a projector never reports, namely its password, the "
                 "WPA-PSK passphrase and the LEAP user name and password; notBackedUp names "
                 "them for each projector that has them.",
                 0);
    out << "\n";
    PrintProjectorSections(out);
}

// ---- the table
// ------------------------------------------------------------------------------------

constexpr std::string_view kBackupDescription =
    "Reads every target and keeps its settings: one settings file per projector, named after "
    "its name and hardware address, in a new folder under DIR named by the UTC time, with an "
    "index of every target (a projector that could not be read is listed as such). DIR is made "
    "when it is not there yet (its parent must be), the owner's alone. Nothing in DIR is ever "
    "overwritten. restore puts a backup back.";

constexpr std::string_view kProvisionDescription =
    "Gives each projector the settings of its row in FILE.csv. The header names the fields of "
    "set plus hardwareAddress and address; inventory --csv --settable writes such a file. The "
    "candidates (the targets, else what the search finds) are read first and each row finds "
    "its projector by the hardware address of either interface, or by address when it has "
    "none. Every non-empty cell that differs from what the projector reports is written, with "
    "the checks, read-back and settle wait of set; an empty cell leaves a setting alone. A row "
    "without its projector and a duplicate row are told with their line numbers. A site's own "
    "spreadsheet will do: MAC, Name and IP (letter case aside; MAC address and IP address too) "
    "stand for hardwareAddress, projectorName and ipAddress, and columns that are no setting "
    "(Room, Notes) are left out, named once on standard error.";

constexpr std::string_view kRestoreDescription =
    "Puts settings files back: each (a file, every file of a backup folder, or of a commit of "
    "the watcher's repository given as REPO@REV) goes to the "
    "projector with its hardware address, wherever that projector is now; the candidates (the "
    "targets, else what the search finds) are read first to find it. Only what differs from "
    "the projector is sent, with the checks, read-back and settle wait of set; --dry-run shows "
    "it. What a file cannot hold (the password, a WPA-PSK passphrase, LEAP secrets) is named "
    "and left as the projector has it.";

constexpr std::string_view kDiffDescription =
    "Compares the settings of A and B, each a settings file, a backup folder, a commit of the "
    "watcher's repository (REPO@REV, such as site@HEAD~1), or an address or range read from the "
    "projectors (--all or --targets stand for a side not given). "
    "Projectors are paired by hardware address; one line per setting that differs (\"community: "
    "legacy1 here, avops1 in site.ini\"), keys shown only as differing. With --template "
    "FILE.ini there is one side, A, and each of its projectors is compared with what the "
    "template would write to it. Exit status: 0 nothing differs, 1 something does, 2 a bad "
    "command line or a side that could not be read (named on standard error).";

constexpr std::string_view kWatchDescription =
    "Watches the site that CONFIG (an INI file) names, unattended, until SIGTERM: every "
    "presence interval which projectors answer a hello, every backup interval every projector "
    "read whole into a git repository (a commit only when something changed, with what changed "
    "in words; a projector not read keeps its last file), metrics for Prometheus on "
    "http://ADDRESS/metrics (loopback by default), and at most one alert mail per round through "
    "the site's relay (a projector silent past the grace, answering again, or changed since "
    "the last backup). Passwords come from files that are their owner's alone or from the "
    "service's credentials ($CREDENTIALS_DIRECTORY). One line per event on standard error, with "
    "the journal's priority prefix. SIGHUP reloads CONFIG (a bad one is refused and the one in "
    "force kept); SIGTERM stops after the projectors under way, saying whether the round was "
    "finished or abandoned. A bad CONFIG is refused at start with its line and key.";

constexpr std::string_view kHistoryDescription =
    "Lists what is kept of one projector's writes: the settings as read before each write, "
    "newest first and numbered as undo takes them, with the time (UTC) and the file, and the "
    "change log's lines (time, address, name, who wrote it as user@host, outcome, commands "
    "sent, WEP keys masked unless --show-secrets). TARGET is a hardware "
    "address (02:00:0A:4E:01:01 or 02000A4E0101), which needs no network, or an address, where "
    "the projector is read to learn its hardware addresses. A projector with nothing kept is "
    "an error.";

constexpr std::string_view kUndoDescription =
    "Puts back the settings kept before the projector's newest write (or the N-th newest, as "
    "history numbers them), after showing what differs. The projector is found by its "
    "hardware address wherever it is now (TARGET an address, or a hardware address looked for "
    "among the targets, else what the search finds). Only what differs is sent, as restore "
    "sends a settings file, with the checks, read-back and settle wait of set; --dry-run shows "
    "it. An undo is itself a write with its own settings kept before it, so undoing twice "
    "returns to where it was.";

constexpr std::string_view kReadDescription =
    "Reads every network setting of the projectors. For each target a hello learns its module type "
    "and name first (--type skips it), then the link is opened, the password given when the "
    "projector asks for one, and the settings are read. One target prints its settings grouped "
    "as a person reads them (projector, wired or wireless LAN, mail, SNMP, wireless security; "
    "\"(not reported)\" where the projector gave none, \"(cut)\" behind a value it gave longer "
    "than it is kept; keys masked unless --show-secrets), or "
    "with --json the whole record; several print a line each (or, with --json, an array of "
    "objects with the settings under \"record\").";

constexpr std::string_view kSetDescription =
    "Changes settings of the projectors: each target is read, the values are taken into its "
    "record, and only what differs from the projector is sent. Before anything is sent the record "
    "is checked as the network settings dialog and its mail, SNMP and wireless dialogs check it (a "
    "refused value names its field and rule, with the dialog's message), a setting the projector's "
    "interface does not have is refused, and so is a static address that another target of the "
    "command has or gets, or that answers a hello (unless --force). After the write the projector "
    "is read back (--verify) and every setting that did not take is named.";

constexpr std::string_view kApplyDescription =
    "Applies a settings file. With FILE.ini and one or more targets, every setting the file holds "
    "is sent, once the projector proves to be the one the file was saved from (its hardware "
    "address); a file saved from another projector is refused. With --template FILE.ini, each "
    "target is read first, the file's settings other than the name, the hardware address, DHCP and "
    "the three addresses are merged over what was read, and only what differs is sent, so that "
    "each projector keeps its own name and address. The record to write is checked as set checks "
    "it.";

constexpr std::string_view kPasswdDescription =
    "Changes the password of the projectors. The current password comes from --passwords, "
    "--password-file, LANTERNA_PASSWORD or the terminal; the new one from --new-password-file, "
    "LANTERNA_NEW_PASSWORD or the terminal (asked twice). With --keyring the current password "
    "is also looked up in the desktop keyring, and the keyring keeps the new password of every "
    "projector whose password was changed (a password removed is forgotten there).";

constexpr std::string_view kQueryDescription =
    "Sends query commands (such as NWPNAME) and prints the values: one target prints "
    "\"COMMAND=value\" lines, several a line each with the values. The password comes from "
    "--passwords, --password-file or LANTERNA_PASSWORD (never the command line).";

constexpr std::string_view kProbeDescription =
    "Sends a hello to each address and waits until each has answered, at most 5 seconds after the "
    "last answer. One target prints its name and module type; several print a line each.";

constexpr std::string_view kDiscoverDescription =
    "Searches the local network for projectors as the window's refresh does (the hello and the "
    "secondary search, duplicates removed) and prints a table of what it found.";

constexpr std::string_view kInventoryDescription =
    "Reads every target and prints one row per projector with its identity and the settings an "
    "administrator keeps track of.";

constexpr std::string_view kAuditDescription =
    "Reads every target and reports findings about weak or inconsistent settings, each with a "
    "severity: one line per finding, then a summary.";

constexpr std::string_view kStatusDescription =
    "Asks every target over PJLink (TCP port 4352) how it is and prints one row per projector: "
    "power, input, the errors it reports, lamp and filter hours, model, serial number, PJLink "
    "class and whether it asks for a password. What a projector does not report stays empty.";

constexpr std::string_view kPowerDescription =
    "Switches projectors on or off over PJLink, the only thing written over PJLink, after a "
    "question on the terminal unless --yes is given; prints each projector's outcome (done, "
    "refused, unavailable while warming up or cooling down, failed, or why the link failed).";

constexpr CommandHelp kHelp[] = {
    {"version", "version", "Print the version.", "Prints the version of lanternactl.", {}},
    {"show",
     "show FILE.ini",
     "Read a settings file as a dropped one is read.",
     "Reads a settings file as a file dropped onto a projector is read and prints the reader's "
     "result and the record as JSON.",
     {}},
    {"save", "save --from RECORD.json -o FILE.ini",
     "Save a record into a settings file, as Save does.",
     "Writes a record (JSON, as read --json prints it) into a settings file with the keys the "
     "network settings dialog's Save writes.",
     kSaveOptions},
    {"ncf",
     "ncf --wired --from RECORD.json|FILE.ini -o FILE.ncf\n"
     "ncf --wireless --from RECORD.json|FILE.ini -o FILE.ncf",
     "Write a network configuration file from a record.",
     "Writes an enciphered network configuration file for a wired or wireless set-up, from a "
     "record or a settings file.",
     kNcfOptions},
    {"ncf-text",
     "ncf-text FILE.ncf",
     "Decipher a network configuration file.",
     "Deciphers a network configuration file and prints its command text.",
     {}},
    {"import-list",
     "import-list FILE.ini",
     "Import a monitor list file as Import does.",
     "Imports a monitor list file as the window's import does and prints the projectors it adds.",
     {}},
    {"discover", "discover [--json | --csv]", "Search the local network for projectors.",
     kDiscoverDescription, kDiscoverOptions, &PrintDiscoverSections},
    {"probe", "probe TARGET... [OPTIONS]", "Ask addresses with a hello who answers there.",
     kProbeDescription, kProbeOptions, &PrintProjectorSections},
    {"query", "query TARGET... COMMAND... [OPTIONS]", "Ask projectors for raw values.",
     kQueryDescription, kQueryOptions, &PrintProjectorSections},
    {"read", "read TARGET... [OPTIONS]", "Read every network setting of projectors.",
     kReadDescription, kReadOptions, &PrintProjectorSections},
    {"inventory", "inventory TARGET... [--csv | --json] [OPTIONS]",
     "One row per projector: identity, addresses, mail, SNMP, wireless, password.",
     kInventoryDescription, kInventoryOptions, &PrintInventorySections},
    {"audit", "audit TARGET... [--json] [OPTIONS]",
     "Report weak or inconsistent settings of projectors.", kAuditDescription, kAuditOptions,
     &PrintAuditSections},
    {"status", "status TARGET... [--json | --csv] [OPTIONS]",
     "How projectors are over PJLink: power, errors, lamp hours, model.", kStatusDescription,
     kStatusOptions, &PrintTargetSections},
    {"power", "power on|off TARGET... [--yes | --dry-run] [OPTIONS]",
     "Switch projectors on or off over PJLink.", kPowerDescription, kPowerOptions,
     &PrintTargetSections},
    {"set", "set TARGET... FIELD=VALUE... [OPTIONS]",
     "Change settings of projectors; only what differs is sent.", kSetDescription, kSetOptions,
     &PrintSetSections},
    {"apply", "apply FILE.ini TARGET... [OPTIONS]\napply --template FILE.ini TARGET... [OPTIONS]",
     "Apply a settings file to projectors, whole or as a template.", kApplyDescription,
     kApplyOptions, &PrintProjectorSections},
    {"passwd", "passwd TARGET... [OPTIONS]", "Change the password of projectors.",
     kPasswdDescription, kPasswdOptions, &PrintPasswdSections},
    {"backup", "backup DIR TARGET... [OPTIONS]",
     "Keep the settings of projectors in a folder, one settings file each.", kBackupDescription,
     kBackupOptions, &PrintBackupSections},
    {"provision", "provision FILE.csv [TARGET...] [OPTIONS]",
     "Give each projector the settings of its row in a CSV file.", kProvisionDescription,
     kProvisionOptions, &PrintSetSections},
    {"restore", "restore DIR|FILE.ini|REPO@REV... [TARGET...] [OPTIONS]",
     "Put settings files or a backup back on their projectors.", kRestoreDescription,
     kRestoreOptions, &PrintProjectorSections},
    {"diff", "diff A B [OPTIONS]\ndiff --template FILE.ini A [OPTIONS]",
     "Show the settings that differ between files, backups and projectors.", kDiffDescription,
     kDiffOptions, nullptr},
    {"history", "history TARGET [OPTIONS]",
     "List the settings kept before each write of a projector, and its change log.",
     kHistoryDescription, kHistoryOptions, nullptr},
    {"undo", "undo TARGET [N] [OPTIONS]",
     "Put back the settings kept before a projector's newest (or N-th newest) write.",
     kUndoDescription, kUndoOptions, &PrintExitStatus},
    {"watch", "watch CONFIG [--check]",
     "Watch a site unattended: presence, versioned backups, metrics and alert mails.",
     kWatchDescription, kWatchOptions, nullptr},
};

void PrintOption(std::ostream& out, const OptionEntry& option) {
    std::string head = "  ";
    if (!option.alias.empty()) {
        head += std::string(option.alias) + ", ";
    }
    head += option.name;
    if (!option.value.empty()) {
        head += " " + std::string(option.value);
    }
    out << head << "\n";
    PrintWrapped(out, option.help);
}

}  // namespace

const CommandHelp* FindHelp(std::string_view command) {
    const auto found = std::find_if(std::begin(kHelp), std::end(kHelp),
                                    [&](const CommandHelp& help) { return help.name == command; });
    return found == std::end(kHelp) ? nullptr : &*found;
}

const CommandHelp& HelpOf(std::string_view command) {
    return *FindHelp(command);
}

std::span<const CommandHelp> AllHelp() {
    return kHelp;
}

void PrintUsageLines(std::ostream& out, const CommandHelp& help) {
    std::string_view usage = help.usage;
    std::string_view prefix = "Usage: ";
    while (!usage.empty()) {
        const std::size_t end = usage.find('\n');
        out << prefix << "lanternactl " << usage.substr(0, end) << "\n";
        prefix = "       ";
        usage = end == std::string_view::npos ? std::string_view() : usage.substr(end + 1);
    }
}

void PrintCommandHelp(std::ostream& out, const CommandHelp& help) {
    PrintUsageLines(out, help);
    out << help.summary << "\n\n";
    PrintWrapped(out, help.description, 0);
    if (!help.options.empty()) {
        out << "\nOptions:\n";
        for (const OptionEntry& option : help.options) {
            PrintOption(out, option);
        }
    }
    out << "  --help\n      This text.\n";
    if (help.sections != nullptr) {
        out << "\n";
        help.sections(out);
    }
}

void PrintProgramHelp(std::ostream& out) {
    out << "Usage: lanternactl COMMAND [ARGUMENTS]\n"
           "       lanternactl COMMAND --help\n"
           "       lanternactl --version\n"
           "Sets up the network interface of projectors from the command line, one or a\n"
           "whole building's at once.\n\n"
           "Commands:\n";
    for (const CommandHelp& help : kHelp) {
        const std::string_view usage = help.usage.substr(0, help.usage.find('\n'));
        out << "  " << usage << "\n      " << help.summary << "\n";
    }
    out << "\nExit status: 0 success, 1 the operation failed (reason on standard error or on\n"
           "the target's line), 2 bad command line, 3 written but a change-log line not kept.\n";
}

void PrintUsageError(std::ostream& out, std::string_view command) {
    const CommandHelp* help = FindHelp(command);
    const std::string_view usage =
        help == nullptr ? command : help->usage.substr(0, help->usage.find('\n'));
    out << "lanternactl " << command << ": usage: lanternactl " << usage << " (see lanternactl "
        << command << " --help)\n";
}

}  // namespace lanterna::cli
