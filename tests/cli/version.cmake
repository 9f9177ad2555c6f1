qmx_cli_test(version ARGS version STDOUT "b 0\\.1\\.2\\.2")
qmx_cli_test(unknown_command ARGS nosuchcommand EXIT 2)
