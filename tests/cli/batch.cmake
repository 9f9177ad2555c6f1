# qmxcli batch: each case of scripts/batch_cases.sh runs in its own folder under the build tree.
foreach(name same_as_calc errors_one_row_each usage_errors threads_keep_order config_file jsonl totals units_columns units_refused
             units_config units_totals)
  add_test(NAME cli_batch_${name}
           COMMAND sh "${CMAKE_CURRENT_LIST_DIR}/scripts/batch_cases.sh" ${name} "$<TARGET_FILE:qmxcli>"
                   "${CMAKE_CURRENT_BINARY_DIR}/cli_files/batch_${name}")
  set_tests_properties(cli_batch_${name} PROPERTIES TIMEOUT 120)
endforeach()
qmx_cli_test(batch_help ARGS batch --help STDOUT "--totals.*x\\.C1")
qmx_cli_test(batch_no_header ARGS batch --in /dev/null EXIT 2 STDERR "no header row")
qmx_cli_test(batch_help_units ARGS batch --help STDOUT "--units.*mass_flow\\[kg/hr\\].*unit\\.k_factor")
# Faults of the command's input and output: a standard input left non-blocking, a read error
# mid-feed, a failed output while the input stays open, long records (batch_feed drives qmxcli).
add_executable(batch_feed "${CMAKE_CURRENT_LIST_DIR}/batch_feed.cpp")
foreach(name nonblocking read_error stalled_writer long_records)
  add_test(NAME cli_batch_feed_${name} COMMAND batch_feed ${name} "$<TARGET_FILE:qmxcli>")
  set_tests_properties(cli_batch_feed_${name} PROPERTIES TIMEOUT 60)
endforeach()
qmx_cli_test(batch_read_error ARGS batch --in /proc/self/mem EXIT 1 STDERR "cannot read \"/proc/self/mem\"")
qmx_cli_test(batch_config_device ARGS batch --config /dev/zero EXIT 2 STDERR "/dev/zero.*not a regular file")
set_tests_properties(cli_batch_config_device PROPERTIES TIMEOUT 15)
qmx_cli_test(batch_config_folder ARGS batch --config / EXIT 2 STDERR "\"/\".*not a regular file")
qmx_cli_test(batch_totals_device ARGS batch --totals hour --out /dev/null --in /dev/null EXIT 2
             STDERR "--totals with CSV output writes .*beside a regular output file.*--jsonl")
qmx_cli_test(batch_totals_named_descriptor ARGS batch --totals day --out /dev/stdout --in /dev/null EXIT 2
             STDERR "--totals with CSV output writes")
