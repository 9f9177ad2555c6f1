# Standards tables: JSON, the comma-separated file form, reserved and invalid selections.
qmx_cli_test(table_venturi_nozzle ARGS table 4
             STDOUT "\"corner\": \"beta [^ ]+ Cd\".*\"cells\": \\[\n *0\\.98470137888138[0-9]*\n *\\],\n *\"label\": \"0\\.316\"")
qmx_cli_test(table_rounded_cells ARGS table 4 --rounding 1
             STDOUT "\"cells\": \\[\n *\"0\\.98470\"\n")
qmx_cli_test(table_decimals ARGS table 2 --rounding 5 --round-to 0.01 --csv
             STDOUT "\r\nRounding,Truncate\r\nRound to,0\\.01\r\n.*\r\n0\\.30,0\\.[0-9][0-9][0-9],")
qmx_cli_test(table_csv_header ARGS table 1 --csv --taps corner --diameter "100 mm"
             STDOUT "^Date,[^\r\n]+\r\nTable,ISO 5167-2:2003 Orifice Discharge Coefficients \\(Annex A p 29\\.\\.39\\)\r\nRounding,None \\(full precision\\)\r\nRound to,0\\.0001\r\nTappings,Corner\r\nInside diameter,100 mm\r\nIsentropic exponent,1\\.66\r\nbeta \\\\ Re,5\\.0E3,.*,9\\.9E99,\r\n0\\.10,")
qmx_cli_test(table_reserved ARGS table 14
             STDOUT "\"rows\": \\[\\].*\"title\": \"<reserved Alberta ERCB Directive 17 -- cases 1 through 7>\"")
qmx_cli_test(table_invalid ARGS table 15 EXIT 2 STDERR "FillTable\\(\\) invalid selection 1")
qmx_cli_test(table_not_a_number ARGS table x EXIT 2)
qmx_cli_test(table_bad_rounding ARGS table 1 --rounding 6 EXIT 2)
qmx_cli_test(table_bad_round_to ARGS table 1 --round-to 0 EXIT 2 STDERR "--round-to")
qmx_cli_test(table_bad_diameter ARGS table 0 --diameter "2 kg" EXIT 2 STDERR "--diameter")
qmx_cli_test(table_bad_kappa ARGS table 5 --kappa -1 EXIT 2 STDERR "--kappa")
qmx_cli_test(table_bad_taps ARGS table 0 --taps pipe EXIT 2)
# --out writes the same file --csv prints (the date line aside).
add_test(NAME cli_table_out
         COMMAND sh -c "rm -f \"$1\" && \"$0\" table 12 --rounding 3 --out \"$1\" | grep -q '\"path\"' && \"$0\" table 12 --rounding 3 --csv | tail -n +2 > \"$1.expected\" && tail -n +2 \"$1\" | cmp - \"$1.expected\""
                 "$<TARGET_FILE:qmxcli>" "${CMAKE_CURRENT_BINARY_DIR}/cli_table_out.csv")
set_tests_properties(cli_table_out PROPERTIES TIMEOUT 60)
