# groupedtests.cmake - run by CTest before the tests (a TEST_INCLUDE_FILES
# script): lists a GoogleTest program's cases and registers one CTest entry
# per test suite, which runs the whole suite in one process, and one entry
# per case that must have a process of its own. The list is written to
# CTEST_FILE and reused until the program is rebuilt.
#
# Set by the caller:
#   TEST_PROGRAM  the program's name (a label on each entry)
#   TEST_EXECUTABLE, TEST_EMULATOR (a ;-list), TEST_WORKING_DIR
#   TEST_ALONE    GoogleTest patterns (* and ?) of the cases that run alone
#   TEST_PROPERTIES  further CTest properties for every entry
#   CASE_SECONDS  the most one case may take (the harness's watchdog)
#   CTEST_FILE    where the entries are written

function(alone_regex out)
  set(parts "")
  foreach(pattern ${ARGN})
    string(REGEX REPLACE "([][.+^$(){}|\\\\])" "\\\\\\1" rx "${pattern}")
    string(REPLACE "*" ".*" rx "${rx}")
    string(REPLACE "?" "." rx "${rx}")
    list(APPEND parts "^${rx}$")
  endforeach()
  list(JOIN parts "|" joined)
  set(${out} "${joined}" PARENT_SCOPE)
endfunction()

# Brackets that no test name contains, for quoting names in the file.
function(quoted out text)
  set(${out} "[==[${text}]==]" PARENT_SCOPE)
endfunction()

function(write_entries)
  execute_process(
    COMMAND ${TEST_EMULATOR} "${TEST_EXECUTABLE}" --gtest_list_tests --gtest_also_run_disabled_tests
    WORKING_DIRECTORY "${TEST_WORKING_DIR}"
    TIMEOUT 120
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE listing_errors
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Listing the cases of ${TEST_EXECUTABLE} failed (${status}):\n${listing}${listing_errors}")
  endif()

  alone_regex(alone ${TEST_ALONE})
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(suites "")
  set(suite "")
  foreach(line IN LISTS lines)
    # Parameterized cases carry a comment: "  Case/0  # GetParam() = ...".
    string(REGEX REPLACE "  +#.*$" "" line "${line}")
    if(line MATCHES "^  ([^ ]+)$")
      set(name "${CMAKE_MATCH_1}")
      if(alone AND "${suite}.${name}" MATCHES "${alone}")
        list(APPEND alone_cases "${suite}.${name}")
        list(APPEND "excluded_${suite}" "${suite}.${name}")
      else()
        math(EXPR "grouped_${suite}" "${grouped_${suite}} + 1")
      endif()
    elseif(line MATCHES "^([^ ]+)\\.$")
      set(suite "${CMAKE_MATCH_1}")
      list(APPEND suites "${suite}")
      set("grouped_${suite}" 0)
      set("excluded_${suite}" "")
    endif()
  endforeach()

  set(content "# Written by groupedtests.cmake from ${TEST_EXECUTABLE}\n")
  set(command "")
  foreach(part ${TEST_EMULATOR} "${TEST_EXECUTABLE}")
    quoted(q "${part}")
    string(APPEND command " ${q}")
  endforeach()
  set(count 0)
  foreach(suite IN LISTS suites)
    if(grouped_${suite} EQUAL 0)
      continue()
    endif()
    set(filter "${suite}.*")
    if(excluded_${suite})
      list(JOIN "excluded_${suite}" ":" minus)
      string(APPEND filter ":-${minus}")
    endif()
    # Every case may use its whole watchdog time, and the process needs a
    # little more to start and end.
    math(EXPR timeout "120 + ${CASE_SECONDS} * ${grouped_${suite}}")
    quoted(name "${suite}.*")
    quoted(arg "--gtest_filter=${filter}")
    string(APPEND content "add_test(${name}${command} ${arg} --gtest_also_run_disabled_tests)\n")
    string(APPEND content "set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY [==[${TEST_WORKING_DIR}]==] "
                          "TIMEOUT ${timeout} LABELS ${TEST_PROGRAM} ${TEST_PROPERTIES})\n")
    math(EXPR count "${count} + ${grouped_${suite}}")
  endforeach()
  foreach(case IN LISTS alone_cases)
    quoted(name "${case}")
    quoted(arg "--gtest_filter=${case}")
    string(APPEND content "add_test(${name}${command} ${arg} --gtest_also_run_disabled_tests)\n")
    string(APPEND content "set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY [==[${TEST_WORKING_DIR}]==] "
                          "SKIP_REGULAR_EXPRESSION [==[\\[  SKIPPED \\]]==] TIMEOUT 180 "
                          "LABELS [==[${TEST_PROGRAM};alone]==] ${TEST_PROPERTIES})\n")
  endforeach()
  list(LENGTH alone_cases alone_count)
  math(EXPR total "${count} + ${alone_count}")
  string(APPEND content "# ${total} cases: ${count} in suites, ${alone_count} alone\n")
  file(WRITE "${CTEST_FILE}" "${content}")
endfunction()

if(NOT EXISTS "${CTEST_FILE}" OR NOT "${CTEST_FILE}" IS_NEWER_THAN "${TEST_EXECUTABLE}"
   OR NOT "${CTEST_FILE}" IS_NEWER_THAN "${CMAKE_CURRENT_LIST_FILE}"
   OR NOT "${CTEST_FILE}" IS_NEWER_THAN "${TEST_INCLUDER}")
  write_entries()
endif()
include("${CTEST_FILE}")
