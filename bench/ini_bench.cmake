# Settings-file benchmark: our accessor against common INI libraries doing the same work.
find_package(PkgConfig REQUIRED)
# Without the peer libraries the other benchmarks still build.
pkg_check_modules(INI_BENCH_PEERS IMPORTED_TARGET simpleini inih glib-2.0)
if(NOT INI_BENCH_PEERS_FOUND)
  message(STATUS "ini_bench skipped: simpleini, inih or glib-2.0 missing")
  return()
endif()
find_path(SIMPLEINI_INCLUDE_DIR SimpleIni.h REQUIRED)
find_path(INIH_INCLUDE_DIR ini.h REQUIRED)
add_executable(ini_bench ${CMAKE_CURRENT_LIST_DIR}/ini_bench.cpp)
target_include_directories(ini_bench SYSTEM PRIVATE ${SIMPLEINI_INCLUDE_DIR} ${INIH_INCLUDE_DIR})
target_link_libraries(ini_bench PRIVATE quorvant_settings Qt6::Core PkgConfig::INI_BENCH_PEERS)
