# Runs a fuzz target for the test command: its committed seeds, then RUNS
# inputs generated with the fixed SEED, so that every run executes the same
# inputs (a crash fails the test); the corpus is never reread while it runs.
# New inputs go to a scratch corpus made fresh for this run and removed after
# it: never to the seeds, and nothing carries over to the next run.
#   cmake -DFUZZER=<program> -DCORPUS=<scratch folder> -DSEEDS=<folder>
#         -DRUNS=<n> -DSEED=<n> [-DMAXLEN=<bytes>] [-DFLAGS=<options>] -P RunFuzz.cmake
if(NOT DEFINED MAXLEN)
  set(MAXLEN 2048)
endif()
# Where the system allows it, without address randomisation: compared
# pointers feed the mutations, so with it the same seed takes other paths.
set(launcher "")
execute_process(COMMAND uname -m OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc_arch)
if(rc_arch EQUAL 0)
  execute_process(COMMAND setarch ${arch} -R true RESULT_VARIABLE rc_setarch OUTPUT_QUIET ERROR_QUIET)
  if(rc_setarch EQUAL 0)
    set(launcher setarch ${arch} -R)
  endif()
endif()
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
string(RANDOM LENGTH 8 suffix)
set(scratch "${CORPUS}.${suffix}")
file(REMOVE_RECURSE "${scratch}")
file(MAKE_DIRECTORY "${scratch}")
execute_process(
  COMMAND ${launcher} "${FUZZER}" -seed=${SEED} -runs=${RUNS} -reload=0 -max_len=${MAXLEN} -timeout=10
          -rss_limit_mb=4096 ${flags} "${scratch}" "${SEEDS}"
  RESULT_VARIABLE rc)
file(REMOVE_RECURSE "${scratch}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz target failed (${rc}); the crashing input was written to the working folder")
endif()
