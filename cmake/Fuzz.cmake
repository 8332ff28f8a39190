# Fuzz targets: built with clang++ and libFuzzer in a tree of their own
# (fuzz/ in this build folder), never by the normal build.
#   fuzz_targets  configures and builds that tree
#   fuzz          builds it, then runs every target for FUZZ_SECONDS (from the
#                 environment; 60 by default) each
include_guard(GLOBAL)

find_program(PELORA_FUZZ_CXX NAMES clang++ clang++-14)
set(PELORA_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
set(PELORA_FUZZ_SCRIPTS ${CMAKE_SOURCE_DIR}/tests/fuzz)

if(PELORA_FUZZ_CXX)
    add_custom_target(fuzz_targets
        COMMAND bash ${PELORA_FUZZ_SCRIPTS}/build.sh ${PELORA_FUZZ_DIR} ${PELORA_FUZZ_CXX}
        USES_TERMINAL)
    add_custom_target(fuzz
        COMMAND bash ${PELORA_FUZZ_SCRIPTS}/run.sh ${PELORA_FUZZ_DIR} ${PELORA_FUZZ_CXX}
        USES_TERMINAL)
else()
    add_custom_target(fuzz
        COMMAND ${CMAKE_COMMAND} -E echo "fuzzing needs clang++ (scripts/install-deps installs it)"
        COMMAND ${CMAKE_COMMAND} -E false)
endif()
