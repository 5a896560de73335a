# Time (or, with --instructions, callgrind's instruction count) from process start to the main
# window shown on the sample folder through the program's own start path (every page filled, the
# genre list read), against a plain Qt window with as many widgets; one run starts both in turn.
add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE quorvant_app)
add_dependencies(startup_bench language_file)
if(TARGET quorvant-genres)
  add_dependencies(startup_bench quorvant-genres)
endif()
# Beside quorvant-genres, where the start path looks for its helper.
set_target_properties(startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_definitions(startup_bench PRIVATE STARTUP_BENCH_SOURCE="${CMAKE_SOURCE_DIR}")
