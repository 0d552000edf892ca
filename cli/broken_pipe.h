#pragma once

namespace tessara::cli {

// A reader of standard output that went away (`tessara check P | head -1`) must show as a failed write, which
// the command reports, rather than end the process on the spot.
void ReportBrokenPipesAsWriteErrors();

}  // namespace tessara::cli
