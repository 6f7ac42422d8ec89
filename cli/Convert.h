#pragma once
// The conversion itself: read the input document, write the chosen stretch of it in the chosen
// format, report on a stream.
#include "ConvertArgs.h"

#include <iosfwd>

enum ConvertExit {
    ExitDone = 0,
    ExitFailed = 1, // input unreadable or unrecognised, output exists, output not written
    ExitUsage = 2,  // bad arguments
};

// Runs one conversion; messages and the summary line go to err. Returns a ConvertExit value.
int RunConvert(const ConvertOptions& options, std::ostream& err);
