#include <stdio.h>
#include <unistd.h>

#include "tools/sim/sim_platform.h"

void SimInitializeOutput() {}

// The library links against the stand-in, so it already runs in its world.
bool SimPreparePlugin(const PluginLibrary& /*plugin*/, char* /*error*/, int /*errorSize*/)
{
    return true;
}

bool SimOutputIsTerminal()
{
    return isatty(STDOUT_FILENO) != 0;
}

int SimRunLive(const Scenario& /*scenario*/, const SimOptions& /*options*/)
{
    fprintf(stderr, "zavrik-sim: live mode needs Windows: it plays the scenario with the real Zavrik.dll, its real "
                    "timer, the real desktop and real message boxes (zavrik-sim.exe --live)\n");
    return 2;
}
