qmx_cli_test(eval_sample ARGS eval "(4/3)*PI*(12/2)^3" STDOUT "\"value\": 904\\.77868423386")
qmx_cli_test(eval_blanks ARGS eval "2 3" STDOUT "\"value\": 23")
qmx_cli_test(eval_negative ARGS eval -- "-2^2" STDOUT "\"value\": 4")
qmx_cli_test(eval_variable ARGS eval "a=2*3" STDOUT "\"value\": 6")
qmx_cli_test(eval_division_by_zero ARGS eval "1/0" EXIT 1
             STDOUT "\"error\": 4,.*\"message\": \"Division by zero\\.\"" STDERR "Division by zero\\.")
qmx_cli_test(eval_parentheses ARGS eval "(1+2" EXIT 1
             STDOUT "\"error\": 2,.*\"message\": \"Parentheses do not ballance\\.\"")
qmx_cli_test(eval_unknown_function ARGS eval "sqrt(4)" EXIT 1 STDOUT "\"error\": 6")
qmx_cli_test(eval_null ARGS eval "+" EXIT 1 STDOUT "\"error\": 3,.*\"Null expression\\.\"")
qmx_cli_test(eval_missing ARGS eval EXIT 2)
# Text after a complete expression is refused and pointed at (JSON escapes the quotes).
qmx_cli_test(eval_leftover_name ARGS eval "2PI" EXIT 1 STDOUT "\"error\": 1,.*unexpected ..PI.. after ..2..")
qmx_cli_test(eval_leftover_parenthesis ARGS eval "(2)3" EXIT 1 STDOUT "unexpected ..3.. after ..\\(2\\)..")
qmx_cli_test(eval_leftover_exponent ARGS eval "1e5e5" EXIT 1 STDOUT "unexpected ..e5.. after ..1e5..")
qmx_cli_test(eval_decimal_comma ARGS eval "1,5" EXIT 1 STDOUT "the decimal mark is")
# Overflow to infinity is an error, not a null value.
qmx_cli_test(eval_overflow_exp ARGS eval "EXP(710)" EXIT 1 STDOUT "\"error\": 5,.*the result overflows")
qmx_cli_test(eval_overflow_power ARGS eval "2^1024" EXIT 1 STDOUT "the result overflows")
qmx_cli_test(eval_overflow_product ARGS eval "1E308*10" EXIT 1 STDERR "the result overflows")
# Nothing persists between runs: reading a variable is an unknown name.
qmx_cli_test(eval_unset_variable ARGS eval "2*e" EXIT 1 STDOUT "\"error\": 6,.*unknown name ..e..")
qmx_cli_test(eval_pi_alone ARGS eval "PI" STDOUT "\"value\": 3\\.14159265358979")
# Bytes that are not UTF-8 in an echoed expression do not break the JSON output.
add_test(NAME cli_eval_bad_bytes
         COMMAND sh -c "out=$(\"$0\" eval \"$(printf '2\\351')\"); test $? = 1; echo \"$out\" | grep -q 'unexpected'"
                 "$<TARGET_FILE:qmxcli>")
set_tests_properties(cli_eval_bad_bytes PROPERTIES TIMEOUT 60)
