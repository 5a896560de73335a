# What the settings history adds to a save: one key of the sample server.ini saved over and over
# with the history written (starting empty, and starting at 200 versions) and without it,
# interleaved in one run. Prints medians and their ratio.
add_executable(history_bench ${CMAKE_CURRENT_LIST_DIR}/history_bench.cpp)
# Then history and diff of 52 versions of a 1 MB file against get, and the history window's start.
target_link_libraries(history_bench PRIVATE quorvant_windows)
add_dependencies(history_bench quorvant-ini)
target_compile_definitions(history_bench PRIVATE HISTORY_BENCH_SAMPLE="${CMAKE_SOURCE_DIR}/sample/server.ini.in"
  HISTORY_BENCH_TOOL="$<TARGET_FILE:quorvant-ini>")
