# 1 psi = 0.45359237 kg * 9.80665 m/s2 / 0.0254^2 m2 = 6894.757293168361 Pa.
qmx_cli_test(convert_psi ARGS convert 1 psi pa
             STDOUT "\"from\": \"psi\",.*\"result\": 6894\\.75729316836[0-9]*,.*\"to\": \"pa\",.*\"value\": 1")
qmx_cli_test(convert_fahrenheit ARGS convert 32 F K STDOUT "\"result\": 273\\.1(5|49999)[0-9]*,")
qmx_cli_test(convert_api ARGS convert 10 api kg/m3 STDOUT "\"result\": 999\\.01(6|59999)[0-9]*,")
# The sample expression in cubic inches is about 3.916791 US gallons.
qmx_cli_test(convert_expression ARGS convert "(4/3)*PI*(12/2)^3" in3 gal
             STDOUT "\"result\": 3\\.91679[0-9]*,.*\"value\": 904\\.77868423386")
qmx_cli_test(convert_negative ARGS convert -- "-40" C F STDOUT "\"result\": -40")
# The flag texts are joined for one line, without their "|" separators.
qmx_cli_test(convert_dimension ARGS convert 1 psi kg EXIT 1 STDERR "convert psi to kg: dimension error\n")
qmx_cli_test(convert_undefined ARGS convert 1 furlong m EXIT 1 STDERR "convert furlong to m: undefined unit\n")
# Text left over after a number or in a unit string is refused, not dropped.
qmx_cli_test(convert_decimal_comma ARGS convert "1,5" psi kpa EXIT 1 STDOUT "\"error\": 1,.*unexpected ..,5.. after ..1..")
qmx_cli_test(convert_unit_bang ARGS convert 1 "m!!" ft EXIT 1 STDERR "syntax error \\(unexpected \"!!\" in \"m!!\"\\)")
qmx_cli_test(convert_unit_percent ARGS convert 1 psi "psi%" EXIT 1 STDERR "unexpected \"%\" in \"psi%\"")
qmx_cli_test(convert_unit_caret ARGS convert 1 "m^" ft EXIT 1 STDERR "unexpected \"\\^\" in \"m\\^\"")
qmx_cli_test(convert_unit_exponent ARGS convert 1 "ft^3" m3 STDOUT "\"result\": 0\.0283168")
# Overflow to infinity is an error with exit 1.
qmx_cli_test(convert_overflow_formula ARGS convert 1e308 C F EXIT 1 STDERR "convert C to F: unit string overflow\n")
qmx_cli_test(convert_overflow_expression ARGS convert "1E308*10" m ft EXIT 1 STDOUT "the result overflows")
# No variables in the converter: a name is an unknown function.
qmx_cli_test(convert_variable ARGS convert "A=2" m ft EXIT 1 STDOUT "\"error\": 6,.*\"Unknown function\\. \\(unknown name ..A..\\)\"")
qmx_cli_test(convert_bad_expression ARGS convert "1/0" m ft EXIT 1 STDOUT "\"message\": \"Division by zero\\.\"")
qmx_cli_test(convert_missing ARGS convert 1 psi EXIT 2)
# One barrel per day is one barrel per day, 1.8401307e-06 m3/s.
qmx_cli_test(convert_bpd ARGS convert 1 bpd bbl/day STDOUT "\"result\": (1|0\\.99999999999999[0-9]*|1\\.0000000000000[0-9]*),")
qmx_cli_test(convert_bpd_si ARGS convert 1 bpd m3/s STDOUT "\"result\": 1\\.84013072833333[0-9]*e-06,")
