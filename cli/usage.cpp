#include "cli/usage.h"

#include <string>

#include "base/tool_version.h"

namespace tessara::cli {

const char* UsageText() {
    return "Usage: tessara [--app-dir DIR]              start the wizard\n"
           "       tessara image [--force] PROJECT_DIR  build PROJECT_DIR/bin/bank.bin as \"Update Device\" does; "
           "with\n"
           "                                            an error finding of the check it writes nothing unless "
           "--force\n"
           "       tessara gsd [--force] PROJECT_DIR FILE\n"
           "                                            write the GSD file as \"GSD File\" does; with a PROFIBUS byte\n"
           "                                            count above the device's 128, or one it cannot read, it "
           "writes\n"
           "                                            nothing unless --force, which writes 0 for a count it cannot\n"
           "                                            read; a negative count, or one above 65535, is never written\n"
           "       tessara check [--json] PROJECT_DIR   list every problem of the project, one per line or as JSON\n"
           "       tessara report PROJECT_DIR FILE      write the project check as one HTML page\n"
           "       tessara inspect [--json] FILE        print a configuration image as a table, or as JSON\n"
           "       tessara map [--json | --csv [--bom] | --sdf | --plcopen] [--input-start N] [--output-start N]\n"
           "                   [--slot-start SLOT=N]... [--symbols byte|node] [--plc-byte-order big|little]\n"
           "                   [--swap-pou] [--against FILE] [--record] PROJECT_DIR\n"
           "                                            print the PLC address, GSD slot and symbol of every selected\n"
           "                                            DeviceNet byte: a table, JSON, CSV, a STEP 7 symbol table or\n"
           "                                            PLCopen XML. N is the start of the first input or output\n"
           "                                            slot, or of slot SLOT; later slots follow (default: the\n"
           "                                            starts kept in PlcMap.xml, else 0). --against lists the tags\n"
           "                                            moved since an earlier --json or --csv export; --record\n"
           "                                            keeps the starts and exported addresses in PlcMap.xml.\n"
           "                                            Typed tags are one row with their type and width (IW 12);\n"
           "                                            --plc-byte-order says how the PLC reads words (default:\n"
           "                                            PlcMap.xml's, else big) and so which tags must be swapped;\n"
           "                                            --swap-pou adds to --plcopen a program that swaps them\n"
           "       tessara tag add PROJECT_DIR --node N (--input | --output) --byte B --type TYPE --name NAME\n"
           "                   [--byte-order little|big]\n"
           "                                            keep in PlcMap.xml a typed tag: the value of TYPE (BYTE, "
           "WORD,\n"
           "                                            INT, UINT, DWORD, DINT, UDINT, REAL, LWORD, LINT or LREAL) "
           "from\n"
           "                                            byte B of node N (both from 1, the node by its place in\n"
           "                                            DNET_Net.xml), sent in that byte order (default little,\n"
           "                                            DeviceNet's); its bytes must be selected, in one slot\n"
           "       tessara tag list [--json] PROJECT_DIR\n"
           "                                            list the typed tags: address, byte order, swap, fault\n"
           "       tessara tag remove PROJECT_DIR NAME  remove the typed tag NAME (in any case)\n"
           "       tessara --help | --version\n"
           "\n"
           "  --app-dir DIR   keep MASTER, PROJECTS and the settings file in DIR\n"
           "\n"
           "Without --app-dir they are kept in $XDG_DATA_HOME/Tessara (default ~/.local/share/Tessara) when the\n"
           "tool is installed or runs from a build folder, and beside the executable of a copy in a folder of\n"
           "its own.\n"
           "Exit status of a command: 0 done, 1 error (for check: an error finding; for map: a byte without an\n"
           "address, a typed tag not used, an 8-byte tag left out of --sdf, or with --against a tag moved or\n"
           "removed; for tag add: a tag that cannot be made), 2 usage error.\n";
}

const char* VersionText() {
    static const std::string text = std::string("tessara ") + base::ToolVersion();
    return text.c_str();
}

}  // namespace tessara::cli
