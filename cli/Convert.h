#pragma once
// The conversion itself: read the input document, write the chosen stretch of it in the chosen
// format, report on a stream.
#include "ConvertArgs.h"

#include <iosfwd>
#include <memory>

class SubTitle;

enum ConvertExit {
    ExitDone = 0,
    ExitFailed = 1, // input unreadable or unrecognised, output exists, output not written
    ExitUsage = 2,  // bad arguments
};

// Runs one conversion; messages and the summary line go to err. Returns a ConvertExit value.
// The document read is handed to keep when given, so that a caller about to exit can skip freeing
// its entries one by one.
int RunConvert(const ConvertOptions& options, std::ostream& err,
               std::unique_ptr<SubTitle>* keep = nullptr);
