// zavrik-sim: loads the plug-in into a host of our own, plays a scenario on the virtual
// clock and prints what happens.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "tools/loader/plugin_loader.h"
#include "tools/sim/scenario.h"
#include "tools/sim/sim_platform.h"
#include "tools/sim/sim_run.h"

namespace {

const char* const Usage =
    "usage: zavrik-sim [--plugin PATH] [--color=auto|always|never] [--live] [--print-default] [SCENARIO | -]\n"
    "Plays SCENARIO (or the built-in one) and prints the timeline. Exit status: 0 done, 1 the host\n"
    "saw a fault, 2 bad arguments or scenario, 3 the plug-in cannot be loaded.\n"
    "--live (Windows): the real plug-in on the real platform, nothing simulated: its real timer, the\n"
    "real desktop, real message boxes; the scenario may only use option-dialog, terminate and end.\n";

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv)
{
    SimInitializeOutput();
    SimOptions options;
    options.pluginPath = DefaultPluginPath();
    std::string colour = "auto";
    std::string path;
    bool live = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plugin" && i + 1 < argc) {
            options.pluginPath = argv[++i];
        } else if (arg.rfind("--color=", 0) == 0) {
            colour = arg.substr(8);
            if (colour != "auto" && colour != "always" && colour != "never") {
                fprintf(stderr, "zavrik-sim: bad --color value '%s'\n%s", colour.c_str(), Usage);
                return 2;
            }
        } else if (arg == "--live") {
            live = true;
        } else if (arg == "--print-default") {
            fputs(DefaultScenario, stdout);
            return 0;
        } else if (arg == "--help" || arg == "-h") {
            fputs(Usage, stdout);
            return 0;
        } else if ((arg.empty() || arg[0] != '-' || arg == "-") && path.empty()) {
            path = arg;
        } else {
            fprintf(stderr, "zavrik-sim: unexpected argument '%s'\n%s", arg.c_str(), Usage);
            return 2;
        }
    }
    const char* noColour = getenv("NO_COLOR");
    options.style.colour = colour == "always" || (colour == "auto" && SimOutputIsTerminal() &&
                                                  (noColour == nullptr || noColour[0] == '\0'));

    std::string text = DefaultScenario;
    std::string name = "built-in scenario";
    if (!path.empty()) {
        std::string reason;
        if (!ReadScenarioFile(path, &text, &reason)) {
            fprintf(stderr, "%s:0: cannot read the scenario: %s\n", path.c_str(), reason.c_str());
            return 2;
        }
        name = path == "-" ? "standard input" : BaseName(path);
    }
    Scenario scenario;
    std::string error;
    if (!ParseScenario(text, path.empty() ? "built-in" : path, &scenario, &error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    options.title = name;
    if (live) {
        // Checked before anything is loaded, on every platform.
        if (!CheckLiveScenario(scenario, path.empty() ? "built-in" : path, &error)) {
            fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        return SimRunLive(scenario, options);
    }
    return RunScenario(scenario, options);
}
