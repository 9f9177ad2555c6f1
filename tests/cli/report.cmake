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

# Report files: each case runs in its own folder under the build tree.
function(qmx_report_file_test name script)
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/cli_files/${name}")
  add_test(NAME cli_report_${name}
           COMMAND sh -c "set -e; rm -rf \"$1\"; mkdir -p \"$1\"; cd \"$1\"; q=\"$0\"; ${script}"
                   "$<TARGET_FILE:qmxcli>" "${dir}")
  set_tests_properties(cli_report_${name} PROPERTIES TIMEOUT 120)
endfunction()

# A private file stays private; a new file gets 0666 less the umask; nothing else is left.
qmx_report_file_test(out_keeps_mode
  "echo old > r.txt; chmod 600 r.txt; \"$q\" report --out r.txt >/dev/null; test \"$(stat -c %a r.txt)\" = 600; grep -q 'Natural gas' r.txt; test \"$(ls -A | wc -l)\" = 1")
qmx_report_file_test(out_new_file_umask
  "umask 027; \"$q\" report --out r.txt >/dev/null; test \"$(stat -c %a r.txt)\" = 640")
# A symbolic link is followed and stays a link.
qmx_report_file_test(out_follows_link
  "mkdir real; echo old > real/t.txt; ln -s real/t.txt l.txt; \"$q\" report --out l.txt >/dev/null; test -L l.txt; grep -q 'Natural gas' real/t.txt; test \"$(ls -A real | wc -l)\" = 1")
# A FIFO is written, not replaced.
qmx_report_file_test(out_fifo
  "mkfifo p; cat p > got & for i in $(seq 100); do \"$q\" report --out p >/dev/null 2>&1 && break; sleep 0.1; done; wait; test -p p; grep -q 'Natural gas' got")
# A device is written in place; /dev/null stays a device.
qmx_report_file_test(out_dev_null "\"$q\" report --out /dev/null >/dev/null; test -c /dev/null")
# A write that fails midway (file-size limit) names the path and the cause and keeps the earlier file.
qmx_report_file_test(out_failure_keeps_file
  "echo keep > r.txt; trap '' XFSZ; if (ulimit -f 2; \"$q\" report --out r.txt 2>err >/dev/null); then exit 1; fi; grep -q 'SaveReport() error: cannot write \"r.txt\": File too large' err; test \"$(cat r.txt)\" = keep; test \"$(ls -A | wc -l)\" = 2")
# 20 saves at the same moment all keep their files under distinct names.
qmx_report_file_test(save_concurrent
  "export HOME=\"$PWD\" XDG_DOCUMENTS_DIR=\"$PWD/docs\"; pids=; for i in $(seq 20); do (\"$q\" report --csv --save > out$i; echo $? > rc$i) & pids=\"$pids $!\"; done; for p in $pids; do wait $p; done; test \"$(ls rc* | wc -l)\" = 20; test \"$(cat rc* | sort -u)\" = 0; test \"$(ls docs | wc -l)\" = 20; test \"$(grep -h path out* | sort -u | wc -l)\" = 20; test \"$(ls docs | grep -c '_[0-9]*_[0-9]*_[0-9]*[.]csv')\" = 0")
qmx_cli_test(report_out_full ARGS report --out /dev/full EXIT 1
             STDERR "SaveReport\\(\\) error: cannot write \"/dev/full\": No space left on device")
qmx_cli_test(report_out_folder ARGS report --out / EXIT 1 STDERR "SaveReport\\(\\) error: cannot write \"/\": it is a folder")
qmx_cli_test(report_out_missing_folder ARGS report --out /nonexistent-qmx/r.txt EXIT 1
             STDERR "cannot create a file beside \"/nonexistent-qmx/r.txt\": No such file or directory")
qmx_report_file_test(save_bad_home
  "if HOME=relative XDG_DOCUMENTS_DIR= \"$q\" report --csv --save 2>err; then exit 1; fi; grep -q 'GetCSVpath() error: HOME is not set to an absolute path' err")
# Header texts are single fields whatever blanks they hold; bytes that are not UTF-8 are refused.
qmx_cli_test(report_csv_header_blanks ARGS report --csv "company=A  B" "location=x, \"y\"" STDOUT "^,A  B\r?\n,\"Location x, \"\"y\"\"\"\r?\n")
qmx_cli_test(report_text_header_blanks ARGS report "company=A   B" STDOUT "^ +A   B\r?\n")
qmx_report_file_test(header_not_utf8
  "rc=0; \"$q\" calc \"company=$(printf 'caf\\351')\" 2>err >/dev/null || rc=$?; test $rc = 2; grep -q 'company: not valid UTF-8 text' err")
# The 100-character limit counts characters: 100 two-byte letters pass, 101 do not.
qmx_report_file_test(header_counts_characters
  "t=$(printf '\\303\\251%.0s' $(seq 100)); \"$q\" report \"company=$t\" | grep -q \"$t\"; rc=0; \"$q\" calc \"company=x$t\" 2>err >/dev/null || rc=$?; test $rc = 2; grep -q 'longer than 100 characters (101)' err")
