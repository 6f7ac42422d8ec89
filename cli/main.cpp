// velitra-convert: the model's readers and writers on the command line.
#include "Convert.h"
#include "ConvertArgs.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    ParsedArguments parsed = ParseConvertArguments(args);
    switch (parsed.kind) {
    case ParsedArguments::Help:
        std::cout << ConvertUsage();
        return ExitDone;
    case ParsedArguments::Error:
        std::cerr << "velitra-convert: " << parsed.error << " (see --help)\n";
        return ExitUsage;
    case ParsedArguments::Run:
        break;
    }
    try {
        return RunConvert(parsed.options, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "velitra-convert: " << e.what() << '\n';
        return ExitFailed;
    }
}
