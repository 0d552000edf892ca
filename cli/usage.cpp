#include "cli/usage.h"

namespace tessara::cli {

const char* UsageText() {
    return "Usage: tessara [--app-dir DIR]              start the wizard\n"
           "       tessara image [--force] PROJECT_DIR  build PROJECT_DIR/bin/bank.bin as \"Update Device\" does; "
           "with\n"
           "                                            an error finding of the check it writes nothing unless "
           "--force\n"
           "       tessara gsd [--force] PROJECT_DIR FILE\n"
           "                                            write the GSD file as \"GSD File\" does; with a PROFIBUS byte\n"
           "                                            count the device cannot take it writes nothing unless --force\n"
           "       tessara check [--json] PROJECT_DIR   list every problem of the project, one per line or as JSON\n"
           "       tessara report PROJECT_DIR FILE      write the project check as one HTML page\n"
           "       tessara inspect [--json] FILE        print a configuration image as a table, or as JSON\n"
           "       tessara --help | --version\n"
           "\n"
           "  --app-dir DIR   keep MASTER, PROJECTS and the settings file in DIR\n"
           "\n"
           "Without --app-dir they are kept beside the executable when it runs from its build folder, and in\n"
           "$XDG_DATA_HOME/Tessara (default ~/.local/share/Tessara) when it is installed.\n"
           "Exit status of a command: 0 done, 1 error (for check: an error finding), 2 usage error.\n";
}

const char* VersionNumber() {
    return TESSARA_VERSION;
}

const char* VersionText() {
    return "tessara " TESSARA_VERSION;
}

}  // namespace tessara::cli
