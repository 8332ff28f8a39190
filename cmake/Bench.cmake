# `make bench`: one program that prints every measured figure.
file(GLOB PELORA_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
add_executable(pelora_bench EXCLUDE_FROM_ALL ${PELORA_BENCH_SOURCES})
target_link_libraries(pelora_bench PRIVATE pelora_app pelora_synthesizer_code)
add_dependencies(pelora_bench pelora_synthesizer)
# Its own headers are reached as "bench/Name.h", as a layer's are.
set(PELORA_BENCH_HEADERS ${CMAKE_BINARY_DIR}/layers/bench)
file(MAKE_DIRECTORY ${PELORA_BENCH_HEADERS})
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/bench ${PELORA_BENCH_HEADERS}/bench SYMBOLIC)
target_include_directories(pelora_bench PRIVATE ${PELORA_BENCH_HEADERS})
add_custom_target(bench COMMAND pelora_bench DEPENDS pelora_bench USES_TERMINAL)
