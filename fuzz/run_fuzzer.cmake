# Runs one fuzz target for SECONDS on a fresh copy of the seed corpus in
# WORK_DIR/corpus, so the sources stay untouched. Crash inputs are saved in
# WORK_DIR and kept across runs.
file(REMOVE_RECURSE "${WORK_DIR}/corpus")
file(COPY "${SEEDS}/" DESTINATION "${WORK_DIR}/corpus")
execute_process(
    COMMAND "${FUZZER}" -max_total_time=${SECONDS} -print_final_stats=1 -timeout=60
            "-artifact_prefix=${WORK_DIR}/" "${WORK_DIR}/corpus"
    WORKING_DIRECTORY "${WORK_DIR}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the input is in ${WORK_DIR}")
endif()
