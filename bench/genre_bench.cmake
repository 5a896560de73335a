# Time to read the 20,000-row genre table: through the helper program as the window does, and
# in-process to tell the reading and sorting apart from the process overhead.
add_executable(genre_bench ${CMAKE_CURRENT_LIST_DIR}/genre_bench.cpp)
target_link_libraries(genre_bench PRIVATE quorvant_platform quorvant_genre_reader)
add_dependencies(genre_bench quorvant-genres)
target_compile_definitions(genre_bench PRIVATE
  GENRE_BENCH_HELPER="$<TARGET_FILE:quorvant-genres>"
  GENRE_BENCH_DATABASE="${CMAKE_SOURCE_DIR}/tests/data/genres/data-large.mdb")
