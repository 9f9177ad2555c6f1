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
