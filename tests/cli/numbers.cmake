# One number grammar for every command: ".6" and "6." are numbers, blanks around them are
# ignored; NaN, infinity and hexadecimal are refused with exit 2.
qmx_cli_test(numbers_steam_forms ARGS steam --P " 3e6 " --T "300." STDOUT "\"density\": 997\\.85")
qmx_cli_test(numbers_steam_leading_point ARGS steam --P 3e6 --T ".3e3" STDOUT "\"density\": 997\\.85")
foreach(bad nan NaN inf -inf infinity 0x10 1e999 "1,5" "3 e6")
  string(MAKE_C_IDENTIFIER "${bad}" id)
  qmx_cli_test(numbers_steam_refused_${id} ARGS steam --P "${bad}" --T 300 EXIT 2 STDERR "--P: not a finite number")
  qmx_cli_test(numbers_gas_refused_${id} ARGS gas --method 0 --preset 5 --T 300 --P "${bad}" EXIT 2
               STDERR "--P: not a finite number")
  qmx_cli_test(numbers_liquid_refused_${id} ARGS liquid --product 0 --rho-base "${bad}" --T-base 288.15 --T 303.15 --P 1e6
               EXIT 2 STDERR "--rho-base: not a finite number")
endforeach()
qmx_cli_test(numbers_dp_refused_nan ARGS dp --meter 12 --D 0.1 --d 0.05 --dp 5e4 --P1 1e6 --T nan --mu 1e-5 --kappa 1.3 --rho 10
             EXIT 2 STDERR "--T: not a finite number")
qmx_cli_test(numbers_dp_refused_hex ARGS dp --meter 12 --D 0x1 --d 0.05 --dp 5e4 --P1 1e6 --T 300 --mu 1e-5 --kappa 1.3 --rho 10
             EXIT 2 STDERR "--D: not a finite number")
qmx_cli_test(numbers_gas_list_refused ARGS gas --method 0 --x "nan,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0" EXIT 2
             STDERR "not a finite number")
qmx_cli_test(numbers_calc_leading_point ARGS calc beta=.6 STDOUT "\"beta\": {[^}]*\"value\": 0\\.59999")
qmx_cli_test(numbers_calc_trailing_point ARGS calc "dp=12. kpa" STDOUT "\"dp\": {[^}]*\"si\": 12000,")
qmx_cli_test(numbers_calc_blanks ARGS calc "dp= 12  kpa " STDOUT "\"dp\": {[^}]*\"si\": 12000,")
qmx_cli_test(numbers_calc_component ARGS calc "x.C1=.5" STDOUT "\"x\\.C1\": {[^}]*\"value\": 0\\.005")
foreach(bad nan inf 0x10)
  qmx_cli_test(numbers_calc_refused_${bad} ARGS calc "beta=${bad}" EXIT 2 STDERR "beta: not a finite number")
  qmx_cli_test(numbers_calc_dv_refused_${bad} ARGS calc "dp=${bad}" EXIT 2 STDERR "dp: not a finite number")
endforeach()
# A number and a unit written together: refused, showing the form that is read.
qmx_cli_test(numbers_calc_unit_joined ARGS calc dp=12kpa EXIT 2
             STDERR "dp: not a finite number: \"12kpa\" \\(write the number and the unit apart, as \"12 kpa\"\\)")
qmx_cli_test(numbers_calc_exponent_unit_joined ARGS calc dp=1.2e4pa EXIT 2 STDERR "as \"1\\.2e4 pa\"")
# Messages a user can act on.
qmx_cli_test(calc_heating_value_table_testing ARGS calc heating_value_table=8 EXIT 2
             STDERR "heating_value_table: not a whole number from 0 to 7: \"8\"")
qmx_cli_test(calc_base_pressure_for_gas ARGS calc base_pressure=0 EXIT 2
             STDERR "base_pressure: value refused for natural gas: \"0[.0]* psi\" \\(limits: at least 10\\.4[0-9]*, at most 15[.0]* psi\\)")
qmx_cli_test(calc_base_temperature_for_gas ARGS calc "base_temperature=40 C" EXIT 2
             STDERR "base_temperature: value refused for natural gas: \"104[.0]* F\" \\(limits: at least 32[.0]*, at most 77[.0]* F\\)")
qmx_cli_test(calc_base_pressure_for_steam ARGS calc fluid=steam "base_pressure=5 psi")
qmx_cli_test(calc_pipe_diameter_both_limits ARGS calc pipe_diameter=1e308 EXIT 2
             STDERR "pipe_diameter: value refused: \"1e308\" \\(limits: at least 0\\.00254, at most 4\\.566[0-9]*E\\+306 m\\)")
# A refused meter names the meters offered.
qmx_cli_test(calc_refused_meter_lists ARGS calc meter=16 EXIT 2
             STDERR "the meters are 0 \\(Classical venturi, ISO 5167\\(2003\\)\\), 3 \\(Cone meter, spool\\).*39 \\(Gas turbine\\)")
qmx_cli_test(calc_unknown_meter_lists ARGS calc meter=bogus EXIT 2 STDERR "no such meter: \"bogus\"; the meters are 0 ")
# --help lists the choices with their texts.
qmx_cli_test(calc_help_lists_choices ARGS calc --help
             STDOUT "meter \\(code, or the key of that code\\):.*12  [A-Za-z_]+  Orifice meter, ISO 5167\\(2003\\).*taps.*1  flange.*tube_material.*probe_model.*11  ")
# A key's value keeps all 17 significant digits (not the 15 of the field's fixed-form writer).
qmx_cli_test(numbers_calc_seventeen_digits ARGS calc beta=0.41234567890123456
             STDOUT "\"beta\": {[^}]*\"value\": 0\\.41234567890123458")
