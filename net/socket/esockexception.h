#pragma once

#include <stdexcept>

namespace morlu {

/**
 * Misuse or failure of a line socket that the caller has to hear about at once ("Send - Socket Not
 * Connected", "Listen - Error Binding Socket", ...). what() returns the fixed text. Errors that the
 * operating system reports later on an open connection are not raised: they arrive as Error reports.
 */
class ESockException : public std::runtime_error {
public:
    explicit ESockException(const char* text) : std::runtime_error(text) {}
};

} // namespace morlu
