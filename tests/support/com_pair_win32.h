#pragma once
// What the Windows serial tests need of the machine they run on: a null-modem pair of COM
// ports (tests/wine_run.sh makes one under Wine; on Windows, a com0com pair or two ports
// joined by a cable), and whether that machine is really Wine.

#include <optional>
#include <string>
#include <utility>

namespace zorvan::testing {

// The two ports named in ZORVAN_TEST_COM_PAIR ("COMa,COMb"), when it is set.
std::optional<std::pair<std::string, std::string>> TestComPair();

// Why the pair tests cannot run here (no pair given), for the skip message.
inline constexpr char kNoComPair[] =
    "no null-modem pair of COM ports: set ZORVAN_TEST_COM_PAIR=COMa,COMb (tests/wine_run.sh "
    "does so under Wine)";

// True under Wine, which runs Windows programs but not every Windows rule.
bool RunningUnderWine();

}  // namespace zorvan::testing
