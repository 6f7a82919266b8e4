#pragma once

#include <stdexcept>

namespace tc101 {

// Raised when a file cannot be read or written; the message names the file and the system's reason.
class FileError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace tc101
