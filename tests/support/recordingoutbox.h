#pragma once

#include "outbox.h"

#include <string>
#include <vector>

namespace morlu::test {

/**
 * Records every line the engine sends. Lines are kept without their terminating 0xFF; a broadcast is
 * recorded with slot 0.
 */
class RecordingOutbox : public Outbox {
public:
    struct Sent {
        int slot = 0; ///< 0 = to all
        std::string line;
    };

    void toSlot(int slot, std::string_view line) override;
    void toAll(std::string_view line) override;

    const std::vector<Sent>& sent() const { return m_sent; }
    /// Lines (without 0xFF) whose command word is @p word, in order.
    std::vector<std::string> lines(std::string_view word) const;
    /// Every line as "slot:line" or "*:line", handy for whole-sequence comparisons.
    std::vector<std::string> transcript() const;
    void clear() { m_sent.clear(); }

private:
    std::vector<Sent> m_sent;
};

/// Discards everything; for benchmarks.
class NullOutbox : public Outbox {
public:
    void toSlot(int, std::string_view) override {}
    void toAll(std::string_view) override {}
};

} // namespace morlu::test
