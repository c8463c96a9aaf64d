#pragma once

#include "tallygrid.h"

#include <QString>

namespace morlu {

/**
 * The tally file on disk: the grid text compressed with Tlzrw1 in mode Fast. The grid text passes
 * through a file in a private temporary folder, removed again whatever happens, instead of a fixed
 * "temp.txt" in the current directory.
 */
class TallyFile {
public:
    /// The file name beside the program: the game name followed by "tally.tld".
    static QString fileName() { return QStringLiteral("Morlutally.tld"); }
    /// Largest grid text a tally file may hold; far more than any tally needs.
    static constexpr qint64 kMaxTextSize = qint64(16) << 20;

    /// Reads a tally file; throws ELzrw1Exception when it does not decompress (or states a text larger
    /// than kMaxTextSize, refused before decoding) and TallyGridError when its text does not follow the
    /// grid layout.
    static TallyGrid load(const QString& path);

    /// Writes the grid to a tally file and returns its size; throws ELzrw1Exception on failure, in which
    /// case a tally file that was there before is left as it was.
    static qint64 save(const TallyGrid& grid, const QString& path);
};

} // namespace morlu
