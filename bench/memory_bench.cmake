# Memory of the main window, and quorvant-ini get against a parse alone (ini_parse_only), on 1,
# 10 and 60 MB server.ini files; with --base BUILD_DIR against another build of this bench folder.
add_executable(ini_parse_only ${CMAKE_CURRENT_LIST_DIR}/ini_parse_only.cpp)
target_link_libraries(ini_parse_only PRIVATE quorvant_settings)
add_executable(memory_bench ${CMAKE_CURRENT_LIST_DIR}/memory_bench.cpp)
target_link_libraries(memory_bench PRIVATE quorvant_windows)
add_dependencies(memory_bench quorvant-ini ini_parse_only)
set_target_properties(memory_bench ini_parse_only PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_compile_definitions(memory_bench PRIVATE
  MEMORY_BENCH_TOOL="$<TARGET_FILE:quorvant-ini>"
  MEMORY_BENCH_PARSE="$<TARGET_FILE:ini_parse_only>"
  MEMORY_BENCH_SOURCE="${CMAKE_SOURCE_DIR}")
