#pragma once
// The PJLink side of a simulated projector: what it reports and the faults it injects.

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

namespace lanterna::sim {

struct PjlinkFaults {
    bool wrongDigest = false;  // every digest is refused with PJLINK ERRA
    bool garbage = false;      // every command is answered with a line of no PJLink form
    bool silent = false;       // connections are taken, nothing is ever sent
    // Above 0: every line goes out one byte at a time with this pause before each further byte.
    std::chrono::milliseconds trickle{0};
    // Commands ("LAMP") answered with an error ("ERR3") instead of their value.
    std::map<std::string, std::string> errors;
};

struct PjlinkConfig {
    bool enabled = false;
    std::uint16_t port = 4352;
    // Where search answers go on the searcher's address.
    std::uint16_t searchReplyPort = 4352;
    int pjlinkClass = 2;
    std::string password;  // empty: PJLINK 0
    bool answerSearch = true;
    // Values as the queries give them.
    std::string power = "1";
    std::string input = "31";
    std::string mute = "30";
    std::string errors = "000000";
    std::string lamps = "1520 1";  // empty: no lamp (LAMP answers ERR1)
    std::string inputs = "11 31 32";
    std::string maker = "SIMULATED";
    std::string product = "SIM-2000";
    std::string other;
    std::string serial = "SIM0001";
    std::string software = "1.00";
    std::string filterHours = "120";
    std::string lampModel = "LMP-SIM";
    std::string filterModel = "FLT-SIM";
    PjlinkFaults faults;
};

}  // namespace lanterna::sim
