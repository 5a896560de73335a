# Builds the probe that includes a control's header from the engine's layer; passes only when the
# compiler stops because it cannot find that header.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target upward_include_probe
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(status EQUAL 0)
  message(FATAL_ERROR "an upward include compiled:\n${out}")
endif()
# gcc: "widgets/LedSpin.h: No such file or directory"; clang: "'widgets/LedSpin.h' file not found".
if(NOT out MATCHES "widgets/LedSpin\\.h'?:? (No such file or directory|file not found)")
  message(FATAL_ERROR "the probe failed for another reason:\n${out}")
endif()
message(STATUS "the engine cannot include widgets/LedSpin.h")

# A path with ".." is found beside the including file, whatever the include roots allow: none in src/.
file(GLOB_RECURSE sources ${SOURCE}/src/*.h ${SOURCE}/src/*.cpp)
set(found)
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.")
  foreach(line ${lines})
    list(APPEND found "${source}: ${line}")
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" found)
  message(FATAL_ERROR "an include goes up by a relative path:\n${found}")
endif()
message(STATUS "no include in src/ goes up by a relative path")
