#pragma once

#include <stdexcept>

namespace morlu {

/**
 * Misuse or failure of a line socket that the caller has to hear about at once ("Send - Socket Not
 * Connected", "Listen - Error Binding Socket", ...). what() returns the fixed text; code() the socket
 * error number behind it where the system gave one (10048 when the port is in use), else 0. Errors that
 * the operating system reports later on an open connection are not raised: they arrive as Error reports.
 */
class ESockException : public std::runtime_error {
public:
    explicit ESockException(const char* text, int code = 0) : std::runtime_error(text), m_code(code) {}

    int code() const { return m_code; }

private:
    int m_code;
};

} // namespace morlu
