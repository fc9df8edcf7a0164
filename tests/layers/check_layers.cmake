# Configures one fixture project with the program's layer rules and checks
# the outcome: cmake -DFIXTURE=<dir> -DLAYERS=<layers.cmake> -DSCRATCH=<dir>
#                    -DEXPECT=<text the error must carry, or "success"> -P
file(REMOVE_RECURSE ${SCRATCH})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${FIXTURE} -B ${SCRATCH} -DBRISKO_LAYERS=${LAYERS}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
file(REMOVE_RECURSE ${SCRATCH})
string(REGEX REPLACE "[ \n]+" " " output "${output}")
if(EXPECT STREQUAL "success")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the fixture should configure, but: ${output}")
  endif()
elseif(result EQUAL 0)
  message(FATAL_ERROR "the fixture configured although it breaks the layers")
elseif(NOT output MATCHES "${EXPECT}")
  message(FATAL_ERROR "refused, but not for the expected reason (${EXPECT}): ${output}")
endif()
