# How every test is added, so that each carries what decides when and how it runs.
#
# Each test has one of two labels:
#   quick   unit and logic tests: no whole program, no real time against a simulated
#           device; `./run test quick` (ctest -L quick) runs these alone, in seconds.
#   system  whole programs, programming runs against the simulated device in real time,
#           the set-up, the packages, Wine's windows. Given their usual duration in
#           SECONDS, the long ones start first, beside the quick ones.
# Every test has a time limit, so that one that hangs fails instead of holding the run.
#
# In the Windows cross build every test's name begins with "Windows.": `./run test` runs
# both suites in one ctest, which tells them apart by it. Those tests also share Wine's
# server, started once for the suite (the fixture wine-server below).
include(GoogleTest)

set(ZORVAN_TEST_TIMEOUT 120)
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(ZORVAN_TEST_PREFIX "Windows.")
  set(ZORVAN_TEST_FIXTURE FIXTURES_REQUIRED wine-server)
else()
  set(ZORVAN_TEST_PREFIX "")
  set(ZORVAN_TEST_FIXTURE)
endif()

# zorvan_add_test(NAME name KIND quick|system [SECONDS s] [TIMEOUT s] COMMAND command...
#                 [PROPERTIES name value...])
# Exit status 77 means skipped, the reason printed.
function(zorvan_add_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;KIND;SECONDS;TIMEOUT" "COMMAND;PROPERTIES")
  if(NOT arg_KIND MATCHES "^(quick|system)$")
    message(FATAL_ERROR "Test ${arg_NAME}: KIND is quick or system, not '${arg_KIND}'")
  endif()
  set(name ${ZORVAN_TEST_PREFIX}${arg_NAME})
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT ${ZORVAN_TEST_TIMEOUT})
  endif()
  set(cost)
  if(arg_SECONDS)
    set(cost COST ${arg_SECONDS})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${arg_KIND} SKIP_RETURN_CODE 77 TIMEOUT ${arg_TIMEOUT}
                       ${cost} ${ZORVAN_TEST_FIXTURE} ${arg_PROPERTIES})
endfunction()

# zorvan_system_suites(suite...)
# Names GoogleTest suites (beside the files that hold them) whose tests are system tests:
# they run programming runs against the simulated device in real time, or start whole
# programs. Every other suite's tests are quick.
function(zorvan_system_suites)
  set_property(GLOBAL APPEND PROPERTY ZORVAN_SYSTEM_SUITES ${ARGN})
endfunction()

# zorvan_discover_tests(target [PROPERTIES name value...])
# The GoogleTest program's tests, one ctest test each, labelled by their suites (called
# once every folder has named its system suites). The list is asked of the program just
# before the tests run, so new tests need no new configure.
function(zorvan_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PROPERTIES")
  get_property(system_suites GLOBAL PROPERTY ZORVAN_SYSTEM_SUITES)
  set(system_filter)
  foreach(suite ${system_suites})
    list(APPEND system_filter "${suite}.*" "*/${suite}.*")
  endforeach()
  list(JOIN system_filter ":" system_filter)
  foreach(kind quick system)
    if(kind STREQUAL quick)
      set(filter "-${system_filter}")
    else()
      set(filter "${system_filter}")
    endif()
    # Generous: under Wine the first listing also makes the Wine prefix.
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300
                         TEST_PREFIX "${ZORVAN_TEST_PREFIX}" TEST_FILTER "${filter}"
                         TEST_LIST ${target}_${kind}_tests
                         PROPERTIES LABELS ${kind} TIMEOUT ${ZORVAN_TEST_TIMEOUT}
                                    ${ZORVAN_TEST_FIXTURE} ${arg_PROPERTIES})
  endforeach()
endfunction()
