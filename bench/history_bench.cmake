# What the settings history adds to a save: one key of the sample server.ini saved over and over
# with the history written (starting empty, and starting at 200 versions) and without it,
# interleaved in one run. Prints medians and their ratio.
add_executable(history_bench ${CMAKE_CURRENT_LIST_DIR}/history_bench.cpp)
target_link_libraries(history_bench PRIVATE quorvant_settings)
target_compile_definitions(history_bench PRIVATE HISTORY_BENCH_SAMPLE="${CMAKE_SOURCE_DIR}/sample/server.ini.in")
