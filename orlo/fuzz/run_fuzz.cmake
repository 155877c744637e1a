# Runs a fuzz target briefly on its seed corpus; a crash fails the test.
# New inputs go to a corpus folder in the build tree, never to the seeds.
if(NOT DEFINED MAXLEN)
  set(MAXLEN 2048)
endif()
file(MAKE_DIRECTORY "${CORPUS}")
execute_process(
  COMMAND "${FUZZER}" -runs=${RUNS} -max_len=${MAXLEN} -timeout=10 -rss_limit_mb=4096 "${CORPUS}" "${SEEDS}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz target failed (${rc}); the crashing input was written to the working folder")
endif()
