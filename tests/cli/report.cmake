# The report of the defaults: the natural gas title line and the closing version line.
qmx_cli_test(report_defaults ARGS report STDOUT "\nNatural gas[\r\n].*QMX b 0\\.1\\.2\\.2")
qmx_cli_test(report_csv ARGS report --csv "dp=12 kpa" STDOUT "\n,Differential,[^,\n]+,[^,\n]+\n")
qmx_cli_test(report_bad_key ARGS report bogus=1 EXIT 2 STDERR "unknown key: \"bogus\"")
qmx_cli_test(report_save_and_out ARGS report --save --out x.txt EXIT 2)
# --out writes the report to the file.
add_test(NAME cli_report_out
         COMMAND sh -c "rm -f \"$1\" && \"$0\" report --out \"$1\" company=ACME >/dev/null && grep -q ACME \"$1\" && grep -q 'Natural gas' \"$1\""
                 "$<TARGET_FILE:qmxcli>" "${CMAKE_CURRENT_BINARY_DIR}/cli_report_out.txt")
set_tests_properties(cli_report_out PROPERTIES TIMEOUT 60)
