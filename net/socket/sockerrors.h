#pragma once

#include <QString>

namespace morlu {

/**
 * Error codes of the line socket. Reports and texts use the classic socket error numbers (10061 for a
 * refused connection, 10054 for a reset, ...) whatever the local system calls them, so the texts a
 * player or a log sees are the same everywhere: "Error #10061 (WSAECONNREFUSED)".
 */
namespace sockerrors {

/// The error of a port that another program holds (WSAEADDRINUSE).
inline constexpr int kAddressInUse = 10048;

/**
 * The socket error number for a local errno value (ECONNREFUSED -> 10061, ECONNRESET -> 10054, ...).
 * EPIPE counts as a reset (10054). An errno without an equivalent is returned unchanged, so its report
 * reads "UNKNOWN ERROR".
 */
int fromErrno(int err);

/// The constant name of a socket error number ("WSAECONNREFUSED"), or "UNKNOWN ERROR".
QString name(int code);

/// The report text of an error: "Error #", the code, " (", its name and ")".
QString text(int code);

/// The code of a report text made by text(); 0 for any other text.
int codeOf(const QString& reportText);

/**
 * Why a connection could not be made, in words a player understands ("connection refused", "host
 * unreachable"); the report text for a code without such words.
 */
QString reason(int code);

} // namespace sockerrors
} // namespace morlu
