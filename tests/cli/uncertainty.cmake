# The uncertainty budget of the defaults: the AGA-3 plate at beta 0.5 takes 0.5 % on C, halved.
qmx_cli_test(calc_uncertainty ARGS calc --uncertainty
             STDOUT "\"uncertainty\": {.*\"name\": \"C\",[^}]*\"u_pct\": 0\\.25\n")
qmx_cli_test(calc_uncertainty_coverage ARGS calc --uncertainty STDOUT "\"coverage_factor\": 2,")
qmx_cli_test(calc_uncertainty_inputs ARGS calc --uncertainty u.dp=0.4% "u.static_pressure=0.25 %"
             "u.flowing_temperature=0.5 K"
             STDOUT "\"name\": \"dp\",[^}]*\"u_pct\": 0\\.4[0-9]*\n")
qmx_cli_test(calc_uncertainty_energy ARGS calc --uncertainty STDOUT "\"energy_flow\": {[^]]*\"name\": \"heating_value\"")
qmx_cli_test(calc_uncertainty_without_flag ARGS calc u.dp=0.4% EXIT 2 STDERR "--uncertainty")
qmx_cli_test(calc_uncertainty_bad_key ARGS calc --uncertainty u.bogus=1% EXIT 2 STDERR "unknown key")
qmx_cli_test(calc_uncertainty_bad_value ARGS calc --uncertainty u.dp=-1% EXIT 2 STDERR "u.dp")
qmx_cli_test(calc_uncertainty_bad_unit ARGS calc --uncertainty "u.dp=1 K" EXIT 2 STDERR "percentage")
qmx_cli_test(calc_uncertainty_turbine ARGS calc meter=39 --uncertainty EXIT 1 STDERR "no standard states")
qmx_cli_test(report_uncertainty ARGS report --uncertainty STDOUT "Uncertainty \\(coverage factor k = 2")
qmx_cli_test(report_uncertainty_csv ARGS report --csv --uncertainty EXIT 2 STDERR "text report")
