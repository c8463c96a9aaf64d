#pragma once

#include <QString>

namespace morlu::test {

/**
 * The system message bus and an Avahi daemon confined to the loopback interface, for tests of the
 * announcement (tools/lan-daemons.sh): started on first use when the machine runs none, stopped when
 * the test program ends. Returns an empty string when both run, else why not.
 *
 * Tests skip with that reason, except when MORLU_REQUIRE_AVAHI=1 (as CI sets it): then they fail.
 */
QString ensureLanDaemons();

/// True when a missing daemon must fail the test rather than skip it (MORLU_REQUIRE_AVAHI=1).
bool lanDaemonsRequired();

} // namespace morlu::test
