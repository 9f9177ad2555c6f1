# qmxcli report --pdf: the text report laid out as printed pages into a PDF.
qmx_cli_test(report_pdf_bad_paper ARGS report --pdf x.pdf --paper legal EXIT 2)
qmx_cli_test(report_pdf_bad_layout ARGS report --pdf x.pdf --layout 5 EXIT 2)
qmx_cli_test(report_pdf_layout_not_a_number ARGS report --pdf x.pdf --layout one EXIT 2)
qmx_cli_test(report_pdf_paper_needs_pdf ARGS report --paper a4 EXIT 2)
qmx_cli_test(report_pdf_and_csv ARGS report --pdf x.pdf --csv EXIT 2)
qmx_cli_test(report_pdf_empty_path ARGS report --pdf= EXIT 2)
qmx_cli_test(report_pdf_unwritable ARGS report --pdf /nonexistent-folder/r.pdf EXIT 1
             STDERR "Print: Error initializing printer \\(60007\\)")
# The PDF of the defaults on A4 landscape: two sheets of 67 lines, the report's lines in them,
# and nothing on stderr. Skipped (77) without the poppler tools.
add_test(NAME cli_report_pdf_a4_landscape
         COMMAND sh -c "command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null || exit 77
                        rm -f \"$1\" \"$1.err\"
                        \"$0\" report --pdf \"$1\" --paper A4 --layout 1 \"company=ACME Gas\" >\"$1.json\" 2>\"$1.err\" || exit 1
                        test ! -s \"$1.err\" || exit 1
                        grep -q '\"sheets\": 2' \"$1.json\" || exit 1
                        pdfinfo \"$1\" | grep -q 'Page size: *842 x 595 pts (A4)' || exit 1
                        pdftotext -layout \"$1\" - | grep -q 'ACME Gas' || exit 1
                        pdftotext -layout \"$1\" - | grep -q 'QMX *b 0.1.2.2' || exit 1
                        pdftotext -layout \"$1\" - | grep -q '^ *Natural gas *$'"
                 "$<TARGET_FILE:qmxcli>" "${CMAKE_CURRENT_BINARY_DIR}/cli_report_pdf_a4.pdf")
set_tests_properties(cli_report_pdf_a4_landscape PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)
# Letter portrait by default; the report of the defaults takes two sheets.
add_test(NAME cli_report_pdf_letter
         COMMAND sh -c "command -v pdfinfo >/dev/null || exit 77
                        rm -f \"$1\"
                        \"$0\" report --pdf \"$1\" >/dev/null || exit 1
                        pdfinfo \"$1\" | grep -q 'Page size: *612 x 792 pts (letter)' || exit 1
                        pdfinfo \"$1\" | grep -q 'Pages: *2$'"
                 "$<TARGET_FILE:qmxcli>" "${CMAKE_CURRENT_BINARY_DIR}/cli_report_pdf_letter.pdf")
set_tests_properties(cli_report_pdf_letter PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)
