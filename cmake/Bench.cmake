# `make bench`: one program that prints every measured figure.
file(GLOB PELORA_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
add_executable(pelora_bench EXCLUDE_FROM_ALL ${PELORA_BENCH_SOURCES})
target_link_libraries(pelora_bench PRIVATE pelora_app)
add_custom_target(bench COMMAND pelora_bench DEPENDS pelora_bench USES_TERMINAL)
