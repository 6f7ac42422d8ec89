// velitra-convert: the model's readers and writers on the command line.
#include "Convert.h"
#include "ConvertArgs.h"
#include "Subtitle.h"

#include <exception>
#include <iostream>
#include <memory>
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
        std::unique_ptr<SubTitle> document;
        const int exit = RunConvert(parsed.options, std::cerr, &document);
        // The process ends here: handing a million entries back to the allocator one by one
        // costs a fifth of a whole conversion. Held by a static, the document is not a leak to
        // LeakSanitizer.
        [[maybe_unused]] static SubTitle* volatile finished = nullptr;
        finished = document.release();
        return exit;
    } catch (const std::exception& e) {
        std::cerr << "velitra-convert: " << e.what() << '\n';
        return ExitFailed;
    }
}
