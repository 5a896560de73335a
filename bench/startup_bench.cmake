# Time from process start to the main window shown on the sample folder (every page filled, the
# genre list read), against a plain Qt window with as many widgets; one run starts both in turn.
add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE quorvant_windows)
add_dependencies(startup_bench quorvant-genres)
target_compile_definitions(startup_bench PRIVATE
  STARTUP_BENCH_HELPER="$<TARGET_FILE:quorvant-genres>"
  STARTUP_BENCH_SOURCE="${CMAKE_SOURCE_DIR}")
