// lanterna: finds the video projectors on the local network and sets up their network
// interface. "/debug" lists demonstration projectors and simulates every link; --help and
// --version print without a display.
#include "app/Application.h"
#include "app/MainWindowRun.h"

int main(int argc, char** argv) {
    const lanterna::MainWindowOptions options;
    return lanterna::RunLanterna(argc, argv, [&options](lanterna::CApplication& application) {
        return lanterna::RunMainWindow(application, options);
    });
}
