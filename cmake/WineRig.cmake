# CTest support for the tests that run under 64-bit Wine: one fixture makes the prefix
# template and starts Xvfb before the first of them and stops Xvfb after the last; each
# test runs in a fresh copy of the template (scripts/wine-rig.sh).
set(KWB_RIG_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/wine-rig.sh)
# Both Windows builds share one rig, so that the template is made once.
set(KWB_RIG_DIR ${PROJECT_SOURCE_DIR}/build/wine-rig CACHE PATH "The Wine test rig folder")

add_test(NAME wine.rig.setup COMMAND bash ${KWB_RIG_SCRIPT} setup ${KWB_RIG_DIR})
set_tests_properties(wine.rig.setup PROPERTIES FIXTURES_SETUP wine_rig TIMEOUT 1000)
add_test(NAME wine.rig.teardown COMMAND bash ${KWB_RIG_SCRIPT} teardown ${KWB_RIG_DIR})
set_tests_properties(wine.rig.teardown PROPERTIES FIXTURES_CLEANUP wine_rig TIMEOUT 300)

# The rig ends an overrunning test itself a minute before CTest would, so that the test's
# server and prefix copy are cleaned up rather than killed mid-way.
function(kwb_set_wine_test_properties name timeout)
  math(EXPR inner "${timeout} - 60")
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_rig TIMEOUT ${timeout}
    ENVIRONMENT "KWB_WINE_TEST_TIMEOUT=${inner}")
endfunction()

# kwb_add_wine_exe_test(NAME TARGET [WITH file...] [ARGS arg...] [TIMEOUT s])
# Runs a Windows program built here in its own prefix copy.
function(kwb_add_wine_exe_test name target)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "TIMEOUT" "WITH;ARGS")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(with)
  foreach(file IN LISTS ARG_WITH)
    list(APPEND with --with ${file})
  endforeach()
  add_test(NAME ${name}
    COMMAND bash ${KWB_RIG_SCRIPT} exe ${KWB_RIG_DIR} ${name} ${with}
            $<TARGET_FILE:${target}> ${ARG_ARGS})
  kwb_set_wine_test_properties(${name} ${ARG_TIMEOUT})
endfunction()

# kwb_add_wine_script_test(NAME [TIMEOUT s] COMMAND cmd...)
# Runs a host command against its own prefix copy (WINEPREFIX, DISPLAY, WINE64 set).
function(kwb_add_wine_script_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TIMEOUT" "COMMAND")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name}
    COMMAND bash ${KWB_RIG_SCRIPT} script ${KWB_RIG_DIR} ${name} ${ARG_COMMAND})
  kwb_set_wine_test_properties(${name} ${ARG_TIMEOUT})
endfunction()
