#pragma once

#include <QString>

#include <stdexcept>

namespace morlu {

/**
 * Every failure of the compressed file coder: a file that cannot be opened, read or written, a file
 * that is not one of ours, or a block that does not decode. The text is the one the player is shown,
 * with the file name already inserted where the message names one.
 */
class ELzrw1Exception : public std::runtime_error {
public:
    explicit ELzrw1Exception(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/// The coder could not get memory for its hash table when it was created.
class ELzrw1KHCompressor : public ELzrw1Exception {
public:
    using ELzrw1Exception::ELzrw1Exception;
};

} // namespace morlu
