#pragma once
// The one error type of the model: raised where reading a file cannot go on (a frame rate that is
// not a number, an empty line inside a SubViewer header) and by operations that have no result
// (re-timing entries that all start at the same moment). Its message is meant for the user.
#include <stdexcept>
#include <string>

class SubtitleError : public std::runtime_error {
public:
    explicit SubtitleError(const std::string& message) : std::runtime_error(message) {}
};
