# A short fuzz run of every target, its build included, where clang++ is
# installed. `make fuzz` runs them for longer.
include(${CMAKE_SOURCE_DIR}/cmake/Fuzz.cmake)

if(PELORA_FUZZ_CXX)
    add_test(NAME fuzz_short
             COMMAND bash ${PELORA_FUZZ_SCRIPTS}/run.sh ${PELORA_FUZZ_DIR} ${PELORA_FUZZ_CXX})
    set_tests_properties(fuzz_short PROPERTIES ENVIRONMENT "FUZZ_SECONDS=3;FUZZ_JOBS=1"
                         LABELS fuzz TIMEOUT 240)
endif()
