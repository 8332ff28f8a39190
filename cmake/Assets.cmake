# The pictures compiled into the program (assets/assets.qrc). Nothing in the
# code refers to a resource's initializer, so inside the static pelora_core
# the linker would drop it: the resource is built as an object of its own that
# every program linking pelora_core takes in whole.
set_source_files_properties(${CMAKE_SOURCE_DIR}/assets/assets.qrc PROPERTIES SKIP_AUTORCC ON)
qt6_add_resources(PELORA_ASSET_SOURCES ${CMAKE_SOURCE_DIR}/assets/assets.qrc)
add_library(pelora_assets OBJECT ${PELORA_ASSET_SOURCES})
target_link_libraries(pelora_assets PRIVATE Qt6::Core)
target_link_libraries(pelora_core INTERFACE $<TARGET_OBJECTS:pelora_assets>)
add_dependencies(pelora_core pelora_assets)
