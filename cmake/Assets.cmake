# The pictures compiled into the program (assets/assets.qrc). Nothing in the
# code refers to a resource's initializer, so inside a static library
# the linker would drop it: the resource is built as an object of its own that
# every program linking pelora_app takes in whole.
set_source_files_properties(${CMAKE_SOURCE_DIR}/assets/assets.qrc PROPERTIES SKIP_AUTORCC ON)
qt6_add_resources(PELORA_ASSET_SOURCES ${CMAKE_SOURCE_DIR}/assets/assets.qrc)
add_library(pelora_assets OBJECT ${PELORA_ASSET_SOURCES})
target_link_libraries(pelora_assets PRIVATE Qt6::Core)
target_link_libraries(pelora_app INTERFACE $<TARGET_OBJECTS:pelora_assets>)
add_dependencies(pelora_app pelora_assets)
