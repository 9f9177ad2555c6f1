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
