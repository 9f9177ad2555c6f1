# The defaults: 3500 kPa gauge + 93.7 kPa atmospheric.
qmx_cli_test(calc_defaults ARGS calc
             STDOUT "\"upstream_pressure\": {[^}]*\"si\": 3593700,.*\"beep\": false|\"beep\": false.*\"upstream_pressure\": {[^}]*\"si\": 3593700,")
# Gas turbine: 1000 Hz at 1000 pulse/ft3 is 1 ft3/s.
qmx_cli_test(calc_turbine ARGS calc meter=39 "k_factor=1000 pulse/ft3" frequency=1000
             STDOUT "\"actual_volume_flow\": {[^}]*\"si\": 0\\.028316846592[0-9]*,[^}]*\"unit\": \"ft3/sec\"")
qmx_cli_test(calc_value_with_unit ARGS calc "dp=50 inw" STDOUT "\"dp\": {[^}]*\"si\": 12432\\.05")
qmx_cli_test(calc_unknown_key ARGS calc bogus=1 EXIT 2 STDERR "unknown key: \"bogus\"")
qmx_cli_test(calc_refused_value ARGS calc dp=-5 EXIT 2 STDERR "dp: value refused")
qmx_cli_test(calc_wrong_dimension ARGS calc "dp=12 kg" EXIT 2 STDERR "dp: unit \"kg\" does not fit")
qmx_cli_test(calc_illegal_meter ARGS calc meter=16 EXIT 2 STDERR "illegal flow calc")
qmx_cli_test(calc_component_out_of_range ARGS calc x.N2=101 EXIT 2 STDERR "x.N2")
# Dry steam flowing outside IAPWS-IF97 is reported by the calculation.
qmx_cli_test(calc_steam_outside ARGS calc fluid=drysteam flowing_temperature=3000 EXIT 1
             STDERR "Calculate\\(\\) omens")
# A new liquid product brings its base density (44.9 lbm/ft3) and viscosity (0.4 cp).
qmx_cli_test(calc_liquid_product ARGS calc fluid=hcliquid liquid_product=1
             STDOUT "\"liquid_viscosity\": {[^}]*\"si\": 0\\.0004[0-9]*,")
# The meter list: the AGA-3 orifice forces flange taps after corner taps on the ISO orifice, and
# the throat follows beta under the new meter (a cone of beta 0.5 in 3.068 in has 2.65697 in).
qmx_cli_test(calc_aga3_forces_flange ARGS calc meter=12 taps=0 meter=15 STDOUT "\"taps\": 1,")
qmx_cli_test(calc_cone_bore_from_beta ARGS calc meter=3
             STDOUT "\"throat_diameter\": {[^}]*\"text\": \"2\\.65697\"")
# A new pipe diameter keeps beta 0.5: 4.026 in gives a 2.013 in bore.
qmx_cli_test(calc_pipe_moves_bore ARGS calc "pipe_diameter=4.026 in"
             STDOUT "\"throat_diameter\": {[^}]*\"text\": \"2\\.013\"")
# Entries the pages do not offer for the selected meter would be overridden or lost.
qmx_cli_test(calc_taps_only_iso_orifice ARGS calc taps=0 EXIT 2 STDERR "taps: the tap type is chosen only for meter 12")
qmx_cli_test(calc_probe_only_pitot ARGS calc probe_model=3 EXIT 2 STDERR "probe_model: .*averaging pitot")
qmx_cli_test(calc_turbine_has_no_beta ARGS calc meter=39 beta=0.3 EXIT 2 STDERR "beta: not an input for meter 39 \\(\"Gas turbine\"\\)")
qmx_cli_test(calc_pitot_probe_model ARGS calc meter=33 probe_model=3 STDOUT "\"probe_model\": 3,")
# The Dry air preset loads N2 78.084 %, O2 20.946 % and argon 0.936226 %; a typed percentage shows as entered.
qmx_cli_test(calc_dry_air_preset ARGS calc gas_preset=14
             STDOUT "\"x\\.Ar\": {[^}]*\"text\": \"0\\.936226\".*\"x\\.N2\": {[^}]*\"text\": \"78\\.084\".*\"x\\.O2\": {[^}]*\"text\": \"20\\.946\"")
qmx_cli_test(calc_component_entry ARGS calc x.N2=1.5 STDOUT "\"x\\.N2\": {[^}]*\"text\": \"1\\.5\",[^}]*\"value\": 0\\.01499999")
qmx_cli_test(calc_help_lists_keys ARGS calc --help STDOUT "mole percent: x\\.C1 .*header texts: company")
# A refusal names the limits, in the unit of the entry.
qmx_cli_test(calc_refusal_names_limits ARGS calc beta=2 EXIT 2 STDERR "beta: value refused: \"2\" \\(limits: at least 0\\.01, at most 1\\.0\\)")
qmx_cli_test(calc_refusal_limits_in_unit ARGS calc "atmospheric_pressure=30 psi" EXIT 2 STDERR "at most 20\\.0 psi\\)")
qmx_cli_test(calc_no_digits ARGS calc dp=abc EXIT 2 STDERR "dp: not a finite number: \"abc\"")
qmx_cli_test(calc_small_bore_taps ARGS calc meter=24 taps=0 STDOUT "\"taps\": 0,")
qmx_cli_test(calc_turbine_has_no_probe ARGS calc meter=39 probe_model=3 EXIT 2 STDERR "probe_model: .*averaging pitot")
qmx_cli_test(calc_infinite_value ARGS calc dp=1e999 EXIT 2 STDERR "dp: not a finite number: \"1e999\"")
