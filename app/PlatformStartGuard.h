#pragma once
// Wraps the construction of the Qt application. When the toolkit cannot start its platform (no
// display, or one that refuses the connection) it ends with a fatal message and an abort; while
// a guard lives, such a message ends the program instead with the no-display line on standard
// error and exit status 1. Other messages of that time are held and passed on to the earlier
// handler when the guard ends.
//
//     std::optional<CPlatformStartGuard> guard(std::in_place);
//     QApplication qtApplication(argc, argv);
//     guard.reset();

namespace lanterna {

class CPlatformStartGuard {
  public:
    CPlatformStartGuard();
    ~CPlatformStartGuard();
    CPlatformStartGuard(const CPlatformStartGuard&) = delete;
    CPlatformStartGuard& operator=(const CPlatformStartGuard&) = delete;
};

}  // namespace lanterna
