# qmxcli verify: the shipped verification data through the engines of the built program.
qmx_cli_test(verify_text ARGS verify
             STDOUT "IAPWS-IF97 verification tables +26 cases .*AGA-8 detail example gases +83 cases .*ISO 12213-3 Annex C[^\n]* pass.*AGA-3[^\n]* pass\npass\n$")
qmx_cli_test(verify_json ARGS verify --json
             STDOUT "^\\{\n  \"pass\": true,\n  \"sources\": \\[.*\"cases\": 61,.*\"name\": \"ISO 12213-3 Annex C \\(SGERG-88\\)\",.*\"tolerance\": 1(\\.0*)?,")
qmx_cli_test(verify_data_dir ARGS verify --data "${PROJECT_SOURCE_DIR}/data" --json STDOUT "\"pass\": true")
qmx_cli_test(verify_missing_data ARGS verify --data "${CMAKE_CURRENT_BINARY_DIR}/no-such-folder" EXIT 2 STDERR "--data")
# A folder without the tables: every source fails, exit 1, the reason in the output.
file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/cli_verify_empty")
qmx_cli_test(verify_empty_data ARGS verify --data "${CMAKE_CURRENT_BINARY_DIR}/cli_verify_empty" EXIT 1
             STDOUT "FAIL +\\(cannot read .*verification\\.csv\\).*\nFAIL\n" STDERR "verify: a source failed")
