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
